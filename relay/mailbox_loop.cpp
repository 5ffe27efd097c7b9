#include "mailbox_loop.h"

#include <process.h>

#include "mailbox_text.h"
#include "pump.h"
#include "run_names.h"
#include "run_record.h"
#include "text_util.h"

void endProcessNow() {
    // No stream is flushed on the way out, so no stream lock is waited for: the worker holds the
    // output stream's lock for as long as its write blocks (a console window holding a selection,
    // a pipe nobody reads), and ExitProcess may flush. Nothing is lost by it: every print flushes
    // itself, and the list file is written unbuffered.
    TerminateProcess(GetCurrentProcess(), 0);
    ExitProcess(0);  // only should the system refuse the above
}

namespace {

// How long the stop line may take to reach the console before the relay ends without it.
constexpr DWORD kStopLineMs = 500;

unsigned __stdcall printStopLine(void*) {
    printNarrow("\nRECEIVED STOP. Closing...");
    return 0;
}

// The stop line is printed on a thread of its own, which the relay does not wait for long: the
// worker may be blocked in a write and holding the output stream (see endProcessNow).
void printStopLineBriefly() {
    UniqueHandle printer(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, printStopLine, nullptr, 0, nullptr)));
    // Without a thread the line is left out rather than risk the end.
    if (printer) WaitForSingleObject(printer.get(), kStopLineMs);
}

void watchHost(void*) {
    for (;;) {
        if (FindWindowW(nullptr, run().hostTitle.c_str()) == nullptr) endProcessNow();
        Sleep(1000);
    }
}

void startChild() {
    RunRecord& r = run();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = r.outputWrite.get();
    startup.hStdError = r.outputWrite.get();
    startup.hStdInput = r.inputRead.get();
    std::wstring commandLine = r.argumentText;  // CreateProcessW may write into it
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(r.downloaderPath.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        warningBox(L"Error CreateChildProcess");
        return;
    }
    // The relay neither waits for the child nor reads its exit code.
    UniqueHandle childProcess(process.hProcess), childThread(process.hThread);
    if (r.verbose) printNarrow(wideToAnsi(r.downloaderPath) + " " + wideToAnsi(r.argumentText) + "\n");
}

void work(void*) {
    startChild();
    runPump();  // a child that never started leaves the pipe empty and closed: end of data at once
    run().done = true;
    Sleep(1000);
}

}  // namespace

void startHostWatcher() {
    // Should the thread not start, the mailbox loop still returns once the host window is gone.
    _beginthread(watchHost, 0, nullptr);
}

void runMailboxLoop() {
    RunRecord& r = run();
    for (;;) {
        const HWND host = FindWindowW(nullptr, r.hostTitle.c_str());
        r.hostWindow = host;
        if (host == nullptr) return;

        // One copy of the mailbox serves the poll: the stop marker and the command are read from it.
        const std::wstring text = readMailboxText();
        if (hasStopMarker(text)) {
            r.stopReason = kStoppedByHost;
            printStopLineBriefly();
            endProcessNow();  // the child is not terminated
        }

        // One run serves one child: the pipes and the record are not shared by two workers, so a
        // further command stays in the mailbox untouched.
        if (!r.workerStarted) {
            std::optional<std::wstring> command = takeCommand(text);
            if (command) {
                r.downloaderPath = downloaderPathIn(r.downloaderFolder);
                r.argumentText = std::move(*command);
                clearMailbox();
                r.workerStarted = true;
                // Without a thread, do the work here rather than drop the command.
                if (_beginthread(work, 0, nullptr) == static_cast<uintptr_t>(-1)) work(nullptr);
            }
        }

        if (r.done) return;
        Sleep(1000);
    }
}
