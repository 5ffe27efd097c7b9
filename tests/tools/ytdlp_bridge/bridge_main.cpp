// Stands for the Windows build of the downloader: built as youtube-dl.exe, it runs the machine's
// real yt-dlp and writes its output to our standard output as the Windows build would (CR LF
// line ends, text in the ANSI code page), each read at once. Under Wine a Unix process gets none
// of our standard handles, so a small script runs yt-dlp into a FIFO that we read.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "paths.h"
#include "process_run.h"
#include "recording.h"
#include "temp_dir.h"
#include "unique_handle.h"
#include "wait_until.h"

namespace {

// Bytes at the end of `bytes` that start a UTF-8 character not yet complete.
size_t incompleteTail(const std::string& bytes) {
    const size_t size = bytes.size();
    for (size_t back = 1; back <= 3 && back <= size; ++back) {
        const unsigned char byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

// Opens the FIFO once the script has made it. Wine's file attributes do not show a FIFO, nor does
// a Unix process's handle tell when it has ended, so the open itself is the test, for a while.
UniqueHandle openFifo(const std::wstring& path) {
    UniqueHandle fifo;
    waitUntil(
        [&] {
            fifo.reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            return bool(fifo);
        },
        30000, 20);
    return fifo;
}

// The downloader's exit code, which the script writes once it has ended; 1 if none comes.
int exitCodeFrom(const std::wstring& statusPath) {
    // The script moves the status into place whole, so once it exists it can be read.
    if (!waitUntil([&] { return fileExists(statusPath); }, 10000, 20)) return 1;
    const std::string text = readFileBytes(statusPath);
    DeleteFileW(statusPath.c_str());
    return atoi(text.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t unique[64];
    wsprintfW(unique, L"/tmp/velvox-ytdlp-%lu-%lu", GetCurrentProcessId(), GetTickCount());
    const std::string fifoUnix = toUtf8(unique);
    const std::wstring fifo = hostPath(fifoUnix);
    if (fifo.empty()) return 126;
    std::vector<std::wstring> arguments = {unique};
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    std::string error;
    if (!startUnixProgram(VELVOX_BRIDGE_SCRIPT, arguments, &error)) {
        fprintf(stderr, "bridge: cannot start %s: %s\n", VELVOX_BRIDGE_SCRIPT, error.c_str());
        return 127;
    }

    UniqueHandle output = openFifo(fifo);
    std::string pending;  // the start of a character whose end is still to come
    // Writes out what is read so far, but its last `keep` bytes.
    auto passOn = [&pending](size_t keep) {
        const std::string text = windowsPrinted(pending.substr(0, pending.size() - keep));
        pending.erase(0, pending.size() - keep);
        DWORD put = 0;
        return text.empty() || WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), DWORD(text.size()), &put, nullptr);
    };
    char buffer[4096];
    DWORD got = 0;
    // Wine opens a FIFO without waiting for its writer, so an end of data read before the script
    // has attached yt-dlp, or written its status, is no end yet.
    const std::wstring status = fifo + L".status";
    ULONGLONG quietSince = GetTickCount64();
    for (;;) {
        if (!output || !ReadFile(output.get(), buffer, sizeof buffer, &got, nullptr) || got == 0) {
            if (!output || fileExists(status) || GetTickCount64() - quietSince > 30000) break;
            Sleep(20);
            continue;
        }
        quietSince = GetTickCount64();
        pending.append(buffer, got);
        if (!passOn(incompleteTail(pending))) break;
    }
    passOn(0);

    if (!output) {
        fprintf(stderr, "bridge: yt-dlp's output never came (%ls)\n", fifo.c_str());
        return 1;
    }
    // With our reader gone (a relay that has ended), closing the FIFO ends the downloader at its
    // next write, as a broken pipe ends the Windows build.
    output.reset();
    return exitCodeFrom(status);
}
