// Stand-in for youtube-dl.exe: records how it was started and plays a script of raw output
// writes, so a test knows exactly which bytes the relay read and when.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "byte_stream.h"
#include "paths.h"
#include "recording.h"
#include "standin_record.h"
#include "temp_dir.h"
#include "unique_handle.h"

namespace {

struct Player {
    std::wstring recordPath;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    UniqueHandle lockstep;
    DWORD lockstepMs = 0;
    ExpectedLines expected;

    void write(const std::string& bytes) {
        DWORD put = 0;
        WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
        // In lockstep the next write waits until the host has had every line of this one, so that
        // each write is read on its own. A write that the relay holds back whole gives no line and
        // may share a read with the next, which gives the host the same lines.
        std::vector<std::wstring> lines;
        for (size_t n = lockstep ? expected.read(bytes, lines) : 0; n > 0; --n) {
            WaitForSingleObject(lockstep.get(), lockstepMs);
        }
    }

    // `total` bytes of progress lines, in writes of `size` bytes, back to back. The counter
    // before the first write and after the last goes into the record, for throughput figures.
    void flood(unsigned long long total, size_t size) {
        std::string lines;
        for (int tenths = 0; tenths <= 1000; ++tenths) {
            char line[96];
            snprintf(line, sizeof line, "\r[download] %5.1f%% of   64.00MiB at    %4.2fMiB/s ETA 00:%02d",
                     tenths / 10.0, 3.0 + (tenths % 70) / 100.0, (1000 - tenths) * 20 / 1000);
            lines += line;
        }
        const size_t period = lines.size();
        while (lines.size() < period + size) lines += lines.substr(0, period);  // any slice reads on
        LARGE_INTEGER first, last;
        QueryPerformanceCounter(&first);
        size_t offset = 0;
        for (unsigned long long left = total; left > 0;) {
            const DWORD piece = static_cast<DWORD>(left < size ? left : size);
            DWORD put = 0;
            if (!WriteFile(out, lines.data() + offset, piece, &put, nullptr) || put == 0) break;
            left -= put;
            offset = (offset + put) % period;
        }
        QueryPerformanceCounter(&last);
        appendStandinFields(recordPath,
                            {{L"flood", std::to_wstring(first.QuadPart) + L" " + std::to_wstring(last.QuadPart)}});
    }

    // `count` lines "[probe] <n> <counter>\n", `gapMs` apart; the counter is read just before
    // each write, so a receiver on the same clock sees how long the line took to reach it.
    void stamp(int count, DWORD gapMs) {
        for (int n = 1; n <= count; ++n) {
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            write("[probe] " + std::to_string(n) + " " + std::to_string(now.QuadPart) + "\n");
            Sleep(gapMs);
        }
    }

    void replay(const std::wstring& path) {
        const Recording recording = parseRecording(readFileBytes(path));
        const ULONGLONG start = GetTickCount64();
        for (const RecordedWrite& w : recording.writes) {
            const ULONGLONG due = start + static_cast<ULONGLONG>(w.seconds * 1000.0);
            const ULONGLONG now = GetTickCount64();
            if (due > now) Sleep(static_cast<DWORD>(due - now));
            write(withCrLf(w.bytes));
        }
    }

    // Long output made on the spot, so that the script need not hold it.
    void stream(const std::string& argument) {
        std::istringstream parts(argument);
        uint32_t seed = 0;
        unsigned long long total = 0;
        size_t piece = 0;
        std::string excluded;
        parts >> seed >> total >> piece >> excluded;
        if (piece == 0) return;
        ByteStream bytes(seed, fromHex(excluded));
        for (unsigned long long done = 0; done < total; done += piece) {
            write(bytes.next(static_cast<size_t>(total - done < piece ? total - done : piece)));
        }
    }

    static DWORD WINAPI readStdinToEnd(void*) {
        char byte;
        DWORD got = 0;
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &got, nullptr) && got > 0) {
        }
        return 0;
    }

    void probeStdin(DWORD ms) {
        // A thread blocks on the read; if it is still blocked after ms, input never ended.
        UniqueHandle reader(CreateThread(nullptr, 0, readStdinToEnd, nullptr, 0, nullptr));
        const bool ended = WaitForSingleObject(reader.get(), ms) == WAIT_OBJECT_0;
        appendStandinFields(recordPath, {{L"stdin", ended ? L"ended" : L"waiting"}});  // a blocked reader ends with us
    }
};

void recordStart(const std::wstring& recordPath) {
    wchar_t module[32768];
    const DWORD moduleLength = GetModuleFileNameW(nullptr, module, 32768);
    wchar_t folder[32768];
    const DWORD folderLength = GetCurrentDirectoryW(32768, folder);
    wchar_t title[1024];
    const DWORD titleLength = GetConsoleTitleW(title, 1024);
    appendStandinFields(recordPath, {{L"start", std::to_wstring(GetCurrentProcessId())},
                                     {L"module", std::wstring(module, moduleLength)},
                                     {L"commandline", GetCommandLineW()},
                                     {L"currentdir", std::wstring(folder, folderLength)},
                                     {L"consoletitle", std::wstring(title, titleLength)}});
}

}  // namespace

int wmain() {
    Player player;
    player.recordPath = builtProgram(kStandinRecord);
    recordStart(player.recordPath);

    std::istringstream script(readFileBytes(builtProgram(kStandinScript)));
    std::string line;
    while (std::getline(script, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string command, argument;
        words >> command;
        std::getline(words >> std::ws, argument);
        if (command == "lockstep") {
            std::istringstream parts(argument);
            std::string name;
            parts >> name >> player.lockstepMs;
            player.lockstep.reset(OpenSemaphoreW(SYNCHRONIZE, FALSE, fromUtf8(name).c_str()));
        } else if (command == "write") {
            player.write(fromHex(argument));
        } else if (command == "sleep") {
            Sleep(static_cast<DWORD>(std::atol(argument.c_str())));
        } else if (command == "stream") {
            player.stream(argument);
        } else if (command == "flood") {
            std::istringstream parts(argument);
            unsigned long long total = 0;
            size_t size = 4096;
            parts >> total >> size;
            player.flood(total, size == 0 ? 1 : size);
        } else if (command == "stamp") {
            std::istringstream parts(argument);
            int count = 0;
            DWORD gapMs = 0;
            parts >> count >> gapMs;
            player.stamp(count, gapMs);
        } else if (command == "replay") {
            player.replay(fromUtf8(argument));
        } else if (command == "stdin") {
            player.probeStdin(static_cast<DWORD>(std::atol(argument.c_str())));
        } else if (command == "exit") {
            return std::atoi(argument.c_str());
        }
    }
    return 0;
}
