#include "list_text.h"

void appendListBytes(std::string& out, const wchar_t* text, size_t count, WideUnitEncoder encodeWide) {
    for (size_t i = 0; i < count; ++i) {
        const wchar_t unit = text[i];
        if (unit == L'\n') {
            out += "\r\n";
        } else if (static_cast<unsigned>(unit) < 256) {
            out += static_cast<char>(static_cast<unsigned char>(unit));
        } else {
            char bytes[kMaxUnitBytes];
            size_t n = encodeWide ? encodeWide(unit, bytes) : 0;
            if (n == 0 || n > kMaxUnitBytes) {
                out += '?';
            } else {
                out.append(bytes, n);
            }
        }
    }
}

std::wstring decodeListBytes(const char* bytes, size_t count) {
    std::wstring text;
    text.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < count && bytes[i + 1] == '\n') continue;  // the LF follows
        text += static_cast<wchar_t>(byte);
    }
    return text;
}
