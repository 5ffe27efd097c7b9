#pragma once
// The run's settings, read from the relay's command line; read-only once the run has started.
#include <cstdint>
#include <string>

struct Settings {
    int32_t jobNumber = 0;   // argument 1
    int32_t verbose = 0;     // argument 3
    int32_t hostNumber = 0;  // argument 5
    int32_t sitesMode = 0;   // argument 6
    std::wstring downloaderFolder;  // argument 2
    // Named after the numbers and the folder.
    std::wstring hostTitle, mailboxName, downloaderPath, listPath;
};

// From at least seven arguments (argv[0] the program).
Settings readSettings(const wchar_t* const* argv);

// Reads a number the way the C runtime's _wtol does, without depending on it: leading white space,
// an optional sign, then decimal digits up to the first non-digit. No digits gives 0; values
// beyond the 32-bit range give the nearest limit.
int32_t readNumber(const wchar_t* text);

// The downloader folder as stored: one trailing backslash removed, if there is one.
std::wstring downloaderFolderFrom(const std::wstring& argument);

std::wstring downloaderPathIn(const std::wstring& folder);  // "%s\youtube-dl.exe"
std::wstring sitesListPathIn(const std::wstring& folder);   // "%s\YOUTUBE-DL Supported sites.txt"
