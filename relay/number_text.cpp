#include "number_text.h"

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
