#include "list_text.h"

// Both directions write through a pointer into text sized once: a list may run to tens of
// megabytes, where appending unit by unit costs more than the rest of the sites step.

void appendListBytes(std::string& out, const wchar_t* text, size_t count, WideUnitEncoder encodeWide) {
    size_t i = 0;
    while (i < count) {
        // A stretch of plain units, each its own byte.
        size_t end = i;
        while (end < count && text[end] != L'\n' && static_cast<unsigned>(text[end]) < 256) ++end;
        if (end > i) {
            const size_t at = out.size();
            out.resize(at + (end - i));
            char* bytes = &out[at];
            for (; i < end; ++i) *bytes++ = static_cast<char>(static_cast<unsigned char>(text[i]));
            continue;
        }
        const wchar_t unit = text[i++];
        if (unit == L'\n') {
            out += "\r\n";
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
    std::wstring text(count, L'\0');
    wchar_t* units = count ? &text[0] : nullptr;
    size_t made = 0;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < count && bytes[i + 1] == '\n') continue;  // the LF follows
        units[made++] = static_cast<wchar_t>(byte);
    }
    text.resize(made);
    return text;
}
