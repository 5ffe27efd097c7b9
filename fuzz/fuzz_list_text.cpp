// The list files' text rules: reading any bytes and writing them back must keep every byte,
// and reading what was written must give the same text again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "list_text.h"

namespace {

size_t twoBytes(wchar_t unit, char* out) {
    out[0] = static_cast<char>((unit >> 8) & 0xFF);
    out[1] = static_cast<char>(unit & 0xFF);
    return 2;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    std::wstring text = decodeListBytes(bytes, size);
    if (text.size() > size) abort();

    std::string written;
    appendListBytes(written, text.data(), text.size(), nullptr);
    if (decodeListBytes(written.data(), written.size()) != text) abort();

    // Units above 255 go through the encoder and nowhere else.
    std::wstring wide;
    for (size_t i = 0; i + 1 < size; i += 2) wide += static_cast<wchar_t>((data[i] << 8) | data[i + 1]);
    std::string encoded;
    appendListBytes(encoded, wide.data(), wide.size(), twoBytes);
    size_t expected = 0;
    for (wchar_t unit : wide) expected += unit == L'\n' ? 2 : (static_cast<unsigned>(unit) < 256 ? 1 : 2);
    if (encoded.size() != expected) abort();
    return 0;
}
