#include "text_rules.h"

size_t chunkTextLength(const char* bytes, size_t count) {
    size_t length = 0;
    while (length < count && bytes[length] != '\0') ++length;
    return length;
}

void appendListBytes(std::string& out, const char* bytes, size_t count) {
    size_t from = 0;
    for (size_t i = 0; i < count; ++i) {
        if (bytes[i] != '\n') continue;
        out.append(bytes + from, i - from);
        out += "\r\n";
        from = i + 1;
    }
    out.append(bytes + from, count - from);
}

// Written through a pointer into text sized once: a list may run to tens of megabytes, where
// appending unit by unit costs more than the rest of the sites step.
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
