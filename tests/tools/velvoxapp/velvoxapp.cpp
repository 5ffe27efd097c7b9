// Stand-in for the recorder host, velvoxapp.exe, as the launcher starts it.
//
// Each start appends its fields to a stand-in record (see standin_record.h): the system time,
// the current folder, the command line and the Windows version that GetVersionExW reports to
// this program. The record file is velvoxapp-starts.bin next to the executable unless --record
// names another.
//
//   velvoxapp.exe [--record <file>] [--nestor <ms>]
//
// --nestor holds a top-level window titled "Nestor" (the host's main window) for ms
// milliseconds, then closes it and ends.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "paths.h"
#include "standin_record.h"
#include "thread_window.h"

namespace {

void appendRecord(const std::wstring& recordPath) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long stamp = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    wchar_t current[MAX_PATH * 4];
    DWORD n = GetCurrentDirectoryW(DWORD(sizeof current / sizeof current[0]), current);
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(&version);
    appendStandinFields(recordPath, {{L"start", std::to_wstring(stamp)},
                                     {L"currentdir", std::wstring(current, n)},
                                     {L"commandline", GetCommandLineW()},
                                     {L"windowsversion", std::to_wstring(version.dwMajorVersion) + L"." +
                                                             std::to_wstring(version.dwMinorVersion)}});
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring recordPath = builtProgram(L"velvoxapp-starts.bin");
    long nestorMs = -1;
    for (int i = 1; argv != nullptr && i + 1 < argc; i += 2) {
        if (std::wcscmp(argv[i], L"--record") == 0) recordPath = argv[i + 1];
        if (std::wcscmp(argv[i], L"--nestor") == 0) nestorMs = std::wcstol(argv[i + 1], nullptr, 10);
    }
    LocalFree(argv);

    appendRecord(recordPath);
    if (nestorMs >= 0) {
        ThreadWindow nestor(L"VelvoxStandInHost", L"Nestor", DefWindowProcW);
        if (nestor.hwnd() != nullptr) Sleep(static_cast<DWORD>(nestorMs));
    }
    return 0;
}
