#pragma once
// Names a run derives from its command line: host objects, console title and the files it uses.
#include <cstdint>
#include <string>

std::wstring hostWindowTitle(int32_t hostNumber);                    // "Velvox YT (%d)"
std::wstring mailboxName(int32_t hostNumber, int32_t jobNumber);     // "velvox_%d_%d"
std::wstring consoleTitle(int32_t hostNumber, int32_t jobNumber);    // "VelvoxDownload (%d) %d"

// The downloader folder as stored: one trailing backslash removed, if there is one.
std::wstring downloaderFolderFrom(const std::wstring& argument);

std::wstring downloaderPathIn(const std::wstring& folder);           // "%s\youtube-dl.exe"
std::wstring sitesListPathIn(const std::wstring& folder);            // "%s\YOUTUBE-DL Supported sites.txt"
