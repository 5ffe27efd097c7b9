#include "process_find.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <cwchar>

#include "unique_handle.h"
#include "wait_until.h"

std::wstring processCommandLine(DWORD processId) {
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!query || !process) return {};
    // Wine has no query for the command line itself, so it is read from the process's PEB.
    PROCESS_BASIC_INFORMATION basic{};
    if (query(process.get(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return {};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!ReadProcessMemory(process.get(), basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
        !ReadProcessMemory(process.get(), peb.ProcessParameters, &parameters, sizeof parameters, nullptr)) {
        return {};
    }
    std::wstring commandLine(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!commandLine.empty() && !ReadProcessMemory(process.get(), parameters.CommandLine.Buffer, &commandLine[0],
                                                   parameters.CommandLine.Length, nullptr)) {
        return {};
    }
    return commandLine;
}

std::vector<DWORD> findProcesses(const std::wstring& exeName, const std::wstring& text) {
    std::vector<DWORD> found;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, exeName.c_str()) != 0) continue;
        if (processCommandLine(entry.th32ProcessID).find(text) != std::wstring::npos) {
            found.push_back(entry.th32ProcessID);
        }
    }
    return found;
}

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND waitForTopWindow(DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            WindowSearch search{processId, nullptr};
            EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
            found = search.found;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

std::wstring windowTitle(HWND window) {
    wchar_t title[512] = {};
    GetWindowTextW(window, title, int(sizeof title / sizeof title[0]));
    return title;
}

std::wstring waitForWindowTitle(HWND window, const std::wstring& part, DWORD timeoutMs) {
    std::wstring title;
    waitUntil(
        [&] {
            title = windowTitle(window);
            return title.find(part) != std::wstring::npos || !IsWindow(window);
        },
        timeoutMs);
    return title;
}

bool closeWindowAndWait(HWND window, DWORD processId, DWORD timeoutMs) {
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (!process) return false;
    if (WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0) return true;
    // Left running it would outlive the test run.
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 5000);
    return false;
}
