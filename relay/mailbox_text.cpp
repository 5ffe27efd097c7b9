#include "mailbox_text.h"

std::wstring mailboxText(const wchar_t* units, size_t capacity) {
    size_t length = 0;
    while (length < capacity && units[length] != L'\0') ++length;
    return std::wstring(units, length);
}

bool hasStopMarker(const std::wstring& text) { return text.find(L"_STOP__") != std::wstring::npos; }

std::optional<std::wstring> takeCommand(const std::wstring& text) {
    if (text.find(L' ') == std::wstring::npos) return std::nullopt;
    const size_t start = text.find(L" -o");
    if (start == std::wstring::npos) return std::nullopt;
    return text.substr(start);
}
