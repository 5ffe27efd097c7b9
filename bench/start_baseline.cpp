// start_baseline <the relay's six arguments>
// The relay's start without the relay: the same system calls, in the same order, up to its first
// mailbox poll (the message registration that loads user32, the host window lookup, the host
// watcher thread, the console title, the mailbox mapping, the two pipes, the list file), then
// that poll, which takes the command. The benchmark times it as it times the relay's start-up, so
// the ratio shows what the relay itself adds. Plain system calls, the names from the tests' copy of
// the host contract, and built as the relay is, so that the two programs differ in their own code
// only.
#include <windows.h>

#include <process.h>

#include <cstdlib>
#include <cwchar>

#include "contract.h"
#include "unique_handle.h"

namespace {

constexpr size_t kMailboxUnits = 2048;  // the host's 4096 bytes

void watchHost(void* title) {
    while (FindWindowW(nullptr, static_cast<const std::wstring*>(title)->c_str()) != nullptr) Sleep(1000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 7) return 2;
    // The relay registers it during static initialisation.
    RegisterWindowMessageW(contract::kMessageName);
    const long jobNumber = _wtol(argv[1]);
    const long hostNumber = _wtol(argv[5]);

    // Never destroyed, as the relay's record: the watcher may still read it while the process exits.
    std::wstring& hostTitle = *new std::wstring(contract::windowTitle(hostNumber));
    if (FindWindowW(nullptr, hostTitle.c_str()) == nullptr) return 3;
    _beginthread(watchHost, 0, &hostTitle);

    SetConsoleTitleW(contract::consoleTitle(hostNumber, jobNumber).c_str());

    const std::wstring mailbox = contract::mailboxName(hostNumber, jobNumber);
    UniqueHandle mapping(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, mailbox.c_str()));
    if (!mapping) return 4;
    UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, kMailboxUnits * sizeof(wchar_t)));
    if (!view) return 5;

    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    UniqueHandle outputRead, outputWrite, inputRead, inputWrite;
    if (!CreatePipe(outputRead.put(), outputWrite.put(), &inheritable, 0)) return 6;
    SetHandleInformation(outputRead.get(), HANDLE_FLAG_INHERIT, 0);
    if (!CreatePipe(inputRead.put(), inputWrite.put(), &inheritable, 0)) return 6;
    SetHandleInformation(inputWrite.get(), HANDLE_FLAG_INHERIT, 0);

    // The downloader folder comes without a trailing backslash.
    const std::wstring listPath = std::wstring(argv[2]) + L"\\" + contract::kSitesListName;
    UniqueHandle list(CreateFileW(listPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));

    // The first poll: the host's window, one copy of the mailbox, the command taken.
    if (FindWindowW(nullptr, hostTitle.c_str()) == nullptr) return 3;
    auto* units = static_cast<volatile wchar_t*>(view.get());
    wchar_t copy[kMailboxUnits + 1];
    for (size_t i = 0; i < kMailboxUnits; ++i) copy[i] = units[i];
    copy[kMailboxUnits] = L'\0';
    if (std::wcsstr(copy, L" -o") == nullptr) return 7;
    units[0] = L'\0';
    return 0;
}
