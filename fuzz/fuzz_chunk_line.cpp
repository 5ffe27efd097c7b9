// Cutting a read of the downloader's output: the text ends at a NUL byte and never past the read,
// and its lines, one message each, are the text cut at every line feed: joined with line feeds
// again they give the text back, none holds a line feed, and only a text without line feed, or
// with something after its last one, adds a message after the last line feed.
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

    // Bytes stand for units here, as they do in a single-byte code page. Heap-exact, so that a read
    // past the text shows.
    const std::vector<wchar_t> wide(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(textLength));
    std::vector<std::wstring> lines;
    forEachRelayedLine(wide.data(), wide.size(), [&](const wchar_t* line, size_t units) {
        if (units > wide.size() || (units > 0 && (line < wide.data() || line + units > wide.data() + wide.size())))
            abort();
        lines.emplace_back(line, units);
    });
    const std::wstring text(wide.begin(), wide.end());
    size_t feeds = 0;
    for (wchar_t c : text) feeds += c == L'\n';
    const bool tail = feeds == 0 || text.back() != L'\n';
    if (lines.size() != feeds + (tail ? 1 : 0)) abort();
    std::wstring joined;
    for (const std::wstring& line : lines) {
        if (line.find(L'\n') != std::wstring::npos) abort();
        joined += line + L"\n";
    }
    if (tail) joined.pop_back();
    if (joined != text) abort();
    return 0;
}
