#include "process_find.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <cwchar>

#include "unique_handle.h"

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

std::wstring processImage(HANDLE process) {
    wchar_t image[MAX_PATH * 4];
    DWORD size = sizeof image / sizeof image[0];
    if (!QueryFullProcessImageNameW(process, 0, image, &size)) return {};
    return std::wstring(image, size);
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
