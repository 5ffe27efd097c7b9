#include "downloader.h"

#include "ansi_text.h"
#include "report.h"
#include "settings.h"

void Downloader::createPipes() {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    if (!CreatePipe(outputRead.put(), outputWrite.put(), &inheritable, 0)) {
        warningBox(L"Stdout pipe creation failed");
    }
    // The child gets only the ends it uses.
    SetHandleInformation(outputRead.get(), HANDLE_FLAG_INHERIT, 0);
    if (!CreatePipe(inputRead.put(), inputWrite.put(), &inheritable, 0)) {
        warningBox(L"Stdin pipe creation failed");
    }
    SetHandleInformation(inputWrite.get(), HANDLE_FLAG_INHERIT, 0);
}

void Downloader::start(const Settings& settings) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outputWrite.get();
    startup.hStdError = outputWrite.get();
    startup.hStdInput = inputRead.get();
    std::wstring commandLine = command;  // CreateProcessW may write into it
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(settings.downloaderPath.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    // Ours closed, the output ends once the child and its descendants close theirs; at once without a child.
    outputWrite.reset();
    // Nothing is ever written to the child's input: closed, a read of it ends instead of waiting forever.
    inputWrite.reset();
    if (!started) {
        warningBox(L"Error CreateChildProcess");
        return;
    }
    UniqueHandle childProcess(process.hProcess), childThread(process.hThread);
    if (settings.verbose) printNarrow(wideToAnsi(settings.downloaderPath) + " " + wideToAnsi(command) + "\n");
}
