// The list files' text rules: any read written into the list reads back as its bytes, one unit
// each, and writing adds nothing but a CR before each line feed; reading never makes more units
// than there are bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    if (decodeListBytes(bytes, size).size() > size) abort();

    std::string written;
    appendListBytes(written, bytes, size);
    if (written.size() != size + size_t(std::count(bytes, bytes + size, '\n'))) abort();
    const std::wstring back = decodeListBytes(written.data(), written.size());
    if (back.size() != size) abort();
    for (size_t i = 0; i < size; ++i) {
        if (back[i] != static_cast<wchar_t>(data[i])) abort();
    }
    return 0;
}
