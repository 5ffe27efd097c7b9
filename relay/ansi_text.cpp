#include "ansi_text.h"

#include <windows.h>

std::wstring ansiToWide(const char* bytes, size_t count) {
    std::wstring wide(count, L'\0');
    if (count == 0) return wide;
    const int made = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(count), &wide[0],
                                         static_cast<int>(wide.size()));
    wide.resize(made > 0 ? static_cast<size_t>(made) : 0);
    return wide;
}

CodePageFacts ansiCodePageFacts() {
    // UTF-8 as the ANSI code page (Windows 10's "Beta: Use Unicode UTF-8" option) has its own rule.
    if (GetACP() == CP_UTF8) return CodePageFacts::utf8();
    CPINFO info{};
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 2) return {};
    return CodePageFacts::doubleByte(info.LeadByte, MAX_LEADBYTES);
}

std::string wideToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string narrow(static_cast<size_t>(needed), '\0');
    const int made = WideCharToMultiByte(CP_ACP, 0, text.data(), length, &narrow[0], needed, nullptr, nullptr);
    narrow.resize(made > 0 ? static_cast<size_t>(made) : 0);
    return narrow;
}
