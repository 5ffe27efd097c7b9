// pipe_baseline <downloader.exe> [host window title]
// The least a relay can do, for the benchmark to measure the relay against. Starts the downloader
// with its standard output and error on a pipe made as the relay makes it, reads the pipe in
// 4096-byte reads and writes each read to its own standard output (a file, in the benchmark).
// With a window title it also sends, for each line of each read, one synchronous WM_COPYDATA with
// the line in UTF-16 to that window, as the relay's contract asks: the read up to a NUL byte,
// converted whole, cut at every LF; one blocking read per chunk, no buffering, nothing carried over.
#include <windows.h>

#include <string>

#include "contract.h"
#include "unique_handle.h"

namespace {

constexpr DWORD kChunkBytes = 4096;

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const HWND host = argc > 2 ? FindWindowW(nullptr, argv[2]) : nullptr;
    if (argc > 2 && host == nullptr) return 3;

    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    UniqueHandle outputRead, outputWrite, inputRead, inputWrite;
    if (!CreatePipe(outputRead.put(), outputWrite.put(), &inheritable, 0) ||
        !CreatePipe(inputRead.put(), inputWrite.put(), &inheritable, 0)) {
        return 4;
    }
    SetHandleInformation(outputRead.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(inputWrite.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outputWrite.get();
    startup.hStdError = outputWrite.get();
    startup.hStdInput = inputRead.get();
    std::wstring commandLine = L" -o bench.mp4 http://127.0.0.1/bench.mp4";
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(argv[1], &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        return 5;
    }
    UniqueHandle childProcess(process.hProcess), childThread(process.hThread);
    outputWrite.reset();  // the pipe ends when the child's copy closes

    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    char chunk[kChunkBytes];
    wchar_t text[kChunkBytes];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(outputRead.get(), chunk, kChunkBytes, &got, nullptr) || got == 0) break;
        DWORD put = 0;
        WriteFile(out, chunk, got, &put, nullptr);
        if (host == nullptr) continue;
        DWORD textBytes = 0;
        while (textBytes < got && chunk[textBytes] != '\0') ++textBytes;
        const int made = textBytes == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, chunk, int(textBytes), text, kChunkBytes);
        const DWORD units = made > 0 ? DWORD(made) : 0;
        // Each part that ends at an LF, then the rest unless it is empty; no LF at all: one message.
        for (DWORD from = 0, at = 0; at <= units; ++at) {
            if (at < units && text[at] != L'\n') continue;
            if (at == units && from == units && from != 0) break;
            COPYDATASTRUCT record{};
            record.cbData = (at - from) * sizeof(wchar_t);
            record.lpData = text + from;
            SendMessageW(host, WM_COPYDATA, contract::kLineRelay, reinterpret_cast<LPARAM>(&record));
            from = at + 1;
        }
    }
    return 0;
}
