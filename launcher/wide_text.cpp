#include "wide_text.h"

#include <cwchar>

bool copyText(wchar_t* dst, size_t cap, const wchar_t* src) {
    if (cap == 0) return false;
    dst[0] = L'\0';
    return appendText(dst, cap, src);
}

bool appendText(wchar_t* dst, size_t cap, const wchar_t* src) {
    if (cap == 0) return false;
    size_t at = 0;
    while (at < cap && dst[at] != L'\0') ++at;
    if (at == cap) {  // not terminated: terminate rather than read on
        dst[cap - 1] = L'\0';
        return false;
    }
    if (src == nullptr) return true;
    for (; *src != L'\0'; ++src) {
        if (at + 1 >= cap) {
            dst[at] = L'\0';
            return false;
        }
        dst[at++] = *src;
    }
    dst[at] = L'\0';
    return true;
}

bool sameText(const wchar_t* a, const wchar_t* b) {
    return a != nullptr && b != nullptr && std::wcscmp(a, b) == 0;
}
