#include "settings.h"

#include "host_contract.h"

int32_t readNumber(const wchar_t* text) {
    if (text == nullptr) return 0;
    const wchar_t* p = text;
    while (*p == L' ' || (*p >= L'\t' && *p <= L'\r')) ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') negative = (*p++ == L'-');
    // Accumulate in 64 bits and clamp as soon as the magnitude passes the limit.
    const int64_t limit = negative ? int64_t(INT32_MAX) + 1 : int64_t(INT32_MAX);
    int64_t value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        value = value * 10 + (*p - L'0');
        if (value > limit) value = limit;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

Settings readSettings(const wchar_t* const* argv) {
    Settings s;
    s.jobNumber = readNumber(argv[1]);
    s.downloaderFolder = downloaderFolderFrom(argv[2]);
    s.verbose = readNumber(argv[3]);
    s.hostNumber = readNumber(argv[5]);
    s.sitesMode = readNumber(argv[6]);
    s.hostTitle = hostWindowTitle(s.hostNumber);
    s.mailboxName = mailboxName(s.hostNumber, s.jobNumber);
    s.downloaderPath = downloaderPathIn(s.downloaderFolder);
    s.listPath = sitesListPathIn(s.downloaderFolder);
    return s;
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
