// Cutting a read of the downloader's output: the text ends at a NUL byte and never past the read,
// and the relayed line is everything before the first line feed, carriage returns included.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A read is at most 4096 bytes; a full read has no room for a terminator after it.
    if (size > 4096) size = 4096;
    std::string chunk(reinterpret_cast<const char*>(data), size);
    const size_t textLength = chunkTextLength(chunk.data(), chunk.size());
    if (textLength > size) abort();
    if (chunk.find('\0') != (textLength == size ? std::string::npos : textLength)) abort();

    // Bytes stand for units here, as they do in a single-byte code page.
    std::wstring wide(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(textLength));
    const size_t lineLength = firstLineLength(wide.data(), wide.size());
    if (lineLength > wide.size()) abort();
    if (wide.find(L'\n') != (lineLength == wide.size() ? std::wstring::npos : lineLength)) abort();
    return 0;
}
