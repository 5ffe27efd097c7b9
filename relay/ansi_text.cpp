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
