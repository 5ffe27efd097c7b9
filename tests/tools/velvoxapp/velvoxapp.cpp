// Stand-in for the recorder host, velvoxapp.exe, as the launcher starts it.
//
// Each start appends one line to its record file, UTF-8:
//   <system time as FILETIME, decimal>\t<current folder>\t<command line>\t<Windows version>\n
// where the version is the major.minor that GetVersionExW reports to this program.
// The record file is velvoxapp-starts.txt next to the executable unless --record names another.
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
#include "unique_handle.h"

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
    std::string line = std::to_string(stamp) + "\t" + toUtf8(std::wstring(current, n)) + "\t" +
                       toUtf8(GetCommandLineW()) + "\t" + std::to_string(version.dwMajorVersion) + "." +
                       std::to_string(version.dwMinorVersion) + "\n";
    // Appending writes land whole even when several starts write at once.
    UniqueHandle file(CreateFileW(recordPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    WriteFile(file.get(), line.data(), DWORD(line.size()), &written, nullptr);
}

LRESULT CALLBACK nestorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void holdNestor(UINT ms) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = nestorProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VelvoxStandInHost";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Nestor", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) return;
    SetTimer(window, 1, ms, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring recordPath = builtProgram(L"velvoxapp-starts.txt");
    long nestorMs = -1;
    for (int i = 1; argv != nullptr && i + 1 < argc; i += 2) {
        if (std::wcscmp(argv[i], L"--record") == 0) recordPath = argv[i + 1];
        if (std::wcscmp(argv[i], L"--nestor") == 0) nestorMs = std::wcstol(argv[i + 1], nullptr, 10);
    }
    LocalFree(argv);

    appendRecord(recordPath);
    if (nestorMs >= 0) holdNestor(static_cast<UINT>(nestorMs));
    return 0;
}
