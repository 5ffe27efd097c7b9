// Cutting a read of the downloader's output: the text ends at a NUL byte and never past the read,
// and its lines, one message each, are the text cut at every line feed: none holds a line feed,
// joined with line feeds they give the text back, and only a text without line feed, or with
// something after its last one, has a message after its last line feed.
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

    // Bytes stand for units here, as they do in a single-byte code page. Heap-exact, so that
    // AddressSanitizer sees a read past the text.
    const std::vector<wchar_t> wide(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(textLength));
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
