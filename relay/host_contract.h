#pragma once
// What the relay and its recorder host agree on: the names of the host's window and mailbox, the
// registered message and its notices, and the line relay message.
#include <cstddef>
#include <cstdint>
#include <string>

// Parameters of the registered message and of WM_COPYDATA.
constexpr uintptr_t kFirstDataNotice = 701;    // lParam 701 as well; sent once, synchronously
constexpr uintptr_t kEndOfDataNotice = 77792;  // lParam the job number; posted
constexpr uintptr_t kLineRelayParam = 717717;  // wParam of WM_COPYDATA

// The mailbox is 4096 bytes: 2048 UTF-16 units.
constexpr size_t kMailboxUnits = 2048;

// "youtube-dl message", registered before wmain runs.
unsigned youtubeDlMessage();

std::wstring hostWindowTitle(int32_t hostNumber);                  // "Velvox YT (%d)"
std::wstring mailboxName(int32_t hostNumber, int32_t jobNumber);   // "velvox_%d_%d"
std::wstring consoleTitle(int32_t hostNumber, int32_t jobNumber);  // "VelvoxDownload (%d) %d"
