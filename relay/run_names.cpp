#include "run_names.h"

std::wstring hostWindowTitle(int32_t hostNumber) {
    return L"Velvox YT (" + std::to_wstring(hostNumber) + L")";
}

std::wstring mailboxName(int32_t hostNumber, int32_t jobNumber) {
    return L"velvox_" + std::to_wstring(hostNumber) + L"_" + std::to_wstring(jobNumber);
}

std::wstring consoleTitle(int32_t hostNumber, int32_t jobNumber) {
    return L"VelvoxDownload (" + std::to_wstring(hostNumber) + L") " + std::to_wstring(jobNumber);
}

std::wstring downloaderFolderFrom(const std::wstring& argument) {
    std::wstring folder = argument;
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

std::wstring downloaderPathIn(const std::wstring& folder) { return folder + L"\\youtube-dl.exe"; }

std::wstring sitesListPathIn(const std::wstring& folder) {
    return folder + L"\\YOUTUBE-DL Supported sites.txt";
}
