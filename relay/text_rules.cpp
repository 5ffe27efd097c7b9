#include "text_rules.h"

size_t chunkTextLength(const char* bytes, size_t count) {
    size_t length = 0;
    while (length < count && bytes[length] != '\0') ++length;
    return length;
}

CodePageFacts CodePageFacts::doubleByte(const unsigned char* ranges, size_t count) {
    CodePageFacts facts;
    facts.kind = Kind::DoubleByte;
    for (size_t i = 0; i + 1 < count && (ranges[i] != 0 || ranges[i + 1] != 0); i += 2) {
        for (unsigned byte = ranges[i]; byte <= ranges[i + 1]; ++byte) facts.leadBytes[byte] = true;
    }
    return facts;
}

CodePageFacts CodePageFacts::utf8() {
    CodePageFacts facts;
    facts.kind = Kind::Utf8;
    return facts;
}

namespace {

bool isContinuation(unsigned char byte) { return byte >= 0x80 && byte <= 0xBF; }

// The continuation bytes that a UTF-8 lead byte announces; 0 for a byte that leads nothing.
size_t continuationsAnnounced(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return 0;
}

}  // namespace

size_t unfinishedCharacterBytes(const CodePageFacts& codePage, const char* text, size_t count) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    switch (codePage.kind) {
    case CodePageFacts::Kind::DoubleByte: {
        // Only a scan from the start tells a lead byte from a trail byte of the same value.
        size_t i = 0;
        while (i < count) i += codePage.leadBytes[bytes[i]] ? 2 : 1;
        return i > count ? 1 : 0;
    }
    case CodePageFacts::Kind::Utf8: {
        size_t after = 0;  // continuation bytes at the end, at most the three a lead can announce
        while (after < count && after < 3 && isContinuation(bytes[count - 1 - after])) ++after;
        if (after == count) return 0;
        return after < continuationsAnnounced(bytes[count - 1 - after]) ? after + 1 : 0;
    }
    case CodePageFacts::Kind::SingleByte:
        break;
    }
    return 0;
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
