// Cutting a read of the downloader's output: the text ends at a NUL byte and never past the read,
// and its lines, one message each, are the text cut at every line feed: none holds a line feed,
// joined with line feeds they give the text back, and only a text without line feed, or with
// something after its last one, has a message after its last line feed. What is held back of a
// character cut at the end is at most three bytes of the text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "text_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A read is at most 4096 bytes; a full read has no room for a terminator after it.
    if (size > 4096) size = 4096;
    std::string chunk(reinterpret_cast<const char*>(data), size);
    const size_t textLength = chunkTextLength(chunk.data(), chunk.size());
    if (textLength > size) abort();
    if (chunk.find('\0') != (textLength == size ? std::string::npos : textLength)) abort();

    // At most the first bytes of one character are held back for the next read: never more than
    // the pump keeps room for. Heap-exact, so that AddressSanitizer sees a read past the text.
    static const unsigned char kShiftJisLeads[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};
    static const CodePageFacts codePages[] = {CodePageFacts::utf8(), CodePageFacts::doubleByte(kShiftJisLeads, 6)};
    const std::vector<char> narrow(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(textLength));
    for (const CodePageFacts& codePage : codePages) {
        const size_t held = unfinishedCharacterBytes(codePage, narrow.data(), narrow.size());
        if (held > 3 || held > narrow.size()) abort();
    }

    // Bytes stand for units here, as they do in a single-byte code page. Heap-exact, so that
    // AddressSanitizer sees a read past the text.
    const std::vector<wchar_t> wide(narrow.begin(), narrow.end());
    std::wstring joined;
    size_t lines = 0;
    forEachRelayedLine(wide.data(), wide.size(), [&](const wchar_t* line, size_t units) {
        joined.append(line, units) += L'\n';
        ++lines;
    });
    const std::wstring text(wide.begin(), wide.end());
    const size_t feeds = static_cast<size_t>(std::count(text.begin(), text.end(), L'\n'));
    const bool tail = feeds == 0 || text.back() != L'\n';
    if (lines != feeds + (tail ? 1 : 0)) abort();
    if (tail) joined.pop_back();
    if (joined != text) abort();
    return 0;
}
