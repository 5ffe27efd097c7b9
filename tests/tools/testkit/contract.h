#pragma once
// The host contract as the tests expect it: its numbers and texts written out once more here, on
// purpose not taken from the relay's headers, so that a wrong constant in the relay fails a test.
#include <cstdint>
#include <string>

namespace contract {

// The registered message's name and its notices; the first-data notice carries 701 in both
// parameters.
constexpr wchar_t kMessageName[] = L"youtube-dl message";
constexpr unsigned kFirstData = 701;
constexpr unsigned kEndOfData = 77792;
// WM_COPYDATA's wParam for each relayed line.
constexpr unsigned kLineRelay = 717717;

constexpr wchar_t kStopMarker[] = L"_STOP__";
constexpr wchar_t kSitesListName[] = L"YOUTUBE-DL Supported sites.txt";

// The relay's last console output after a job's end, and after a stop.
inline const std::string kExitNoData = "\r\nEXIT NO DATA\r\n";
inline const std::string kStopReceived = "\r\nRECEIVED STOP. Closing...";

// "Velvox YT (%d)", "velvox_%d_%d" and the relay's console title "VelvoxDownload (%d) %d".
inline std::wstring windowTitle(int32_t hostNumber) { return L"Velvox YT (" + std::to_wstring(hostNumber) + L")"; }
inline std::wstring mailboxName(int32_t hostNumber, int32_t jobNumber) {
    return L"velvox_" + std::to_wstring(hostNumber) + L"_" + std::to_wstring(jobNumber);
}
inline std::wstring consoleTitle(int32_t hostNumber, int32_t jobNumber) {
    return L"VelvoxDownload (" + std::to_wstring(hostNumber) + L") " + std::to_wstring(jobNumber);
}

}  // namespace contract
