// Splitting and sorting the supported-sites list: any list file cuts into pieces of at most 99
// units that cover the text, and the sort equals the stable ascending order by code unit.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "text_rules.h"
#include "sites_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text = decodeListBytes(reinterpret_cast<const char*>(data), size);
    SiteEntries entries(text);

    std::vector<std::wstring> read;
    size_t covered = 0;
    for (size_t i = 0; i < entries.count(); ++i) {
        if (entries.length(i) > kMaxEntryUnits) abort();
        read.push_back(entries.entry(i));
        covered += entries.length(i);
    }
    // Entries drop only line feeds and whatever follows a NUL inside a piece.
    if (covered > text.size()) abort();
    if (text.find(L'\0') == std::wstring::npos &&
        covered + std::count(text.begin(), text.end(), L'\n') != text.size()) {
        abort();
    }

    std::vector<size_t> order(read.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return std::lexicographical_compare(read[a].begin(), read[a].end(), read[b].begin(), read[b].end(),
                                            [](wchar_t x, wchar_t y) { return uint32_t(x) < uint32_t(y); });
    });
    entries.sort();
    for (size_t i = 0; i < order.size(); ++i) {
        if (entries.entry(i) != read[order[i]]) abort();
    }

    std::string expected;
    for (size_t index : order) {
        // Every unit came from a byte of the list.
        std::string line;
        for (wchar_t unit : read[index]) line += static_cast<char>(unit);
        line += '\n';
        appendListBytes(expected, line.data(), line.size());
    }
    if (entries.listBytes() != expected) abort();
    return 0;
}
