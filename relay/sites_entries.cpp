#include "sites_entries.h"

#include <algorithm>
#include <type_traits>
#include <utility>

namespace {

using Unit = std::make_unsigned_t<wchar_t>;
constexpr unsigned kUnitBits = 8 * sizeof(wchar_t);
constexpr size_t kKeyUnits = 64 / kUnitBits;  // 4 where wchar_t has 16 bits, 2 where it has 32
constexpr size_t kSmallRun = 16;
constexpr size_t kShowThreshold = 50;

uint64_t keyAt(const wchar_t* entry, size_t length, size_t depth) {
    uint64_t key = 0;
    for (size_t i = depth; i < depth + kKeyUnits; ++i) {
        key = (key << kUnitBits) | (i < length ? uint64_t(static_cast<Unit>(entry[i])) : 0u);
    }
    return key;
}

}  // namespace

bool replacesList(size_t entryCount) { return entryCount > kShowThreshold; }

SiteEntries::SiteEntries(std::wstring text) : text_(std::move(text)) {
    const wchar_t* const all = text_.data();
    const size_t size = text_.size();
    // One entry a line, bar the pieces of long lines: reserved at once, the spans are written
    // once instead of being moved through every doubling of a growing array.
    size_t lines = 1;
    for (size_t i = 0; i < size; ++i) lines += all[i] == L'\n';
    spans_.reserve(lines);
    size_t pos = 0;
    while (pos < size) {
        const wchar_t* const piece = all + pos;
        const size_t limit = std::min(size - pos, kMaxEntryUnits);
        // A piece ends after its line feed or after 99 units; the line feed is not kept. The entry
        // is a C string: a NUL read from the file ends it there. One pass finds both.
        size_t length = 0;
        size_t nul = limit;
        for (; length < limit; ++length) {
            const wchar_t unit = piece[length];
            if (unit == L'\n') break;
            if (unit == L'\0' && nul == limit) nul = length;
        }
        spans_.push_back(Span{pos, uint32_t(std::min(length, nul)), 0});
        pos += length < limit ? length + 1 : length;
    }
}

// Compares stretch by stretch: entries are sorted by their first stretch, then each run of equal
// ones by the next, and so on. Each step sorts 64-bit keys, and an entry's text is read once a
// stretch instead of once a comparison, which keeps lists of a million entries fast. Stable at
// every step, so equal entries keep their reading order.
void SiteEntries::sort() {
    setKeys(0, spans_.size(), 0);
    sortRun(0, spans_.size(), 0);
}

void SiteEntries::setKeys(size_t begin, size_t end, size_t depth) {
    for (size_t i = begin; i < end; ++i) {
        Span& span = spans_[i];
        span.key = keyAt(text_.data() + span.offset, span.length, depth);
    }
}

// Sorts spans_[begin, end), whose entries agree in their first `depth` units, by their keys there.
void SiteEntries::sortRun(size_t begin, size_t end, size_t depth) {
    const auto byKey = [](const Span& a, const Span& b) { return a.key < b.key; };
    if (end - begin <= kSmallRun) {
        // Insertion sort: stable, and no buffer to allocate for the many small runs.
        for (size_t i = begin + 1; i < end; ++i) {
            const Span moving = spans_[i];
            size_t j = i;
            for (; j > begin && byKey(moving, spans_[j - 1]); --j) spans_[j] = spans_[j - 1];
            spans_[j] = moving;
        }
    } else {
        std::stable_sort(spans_.begin() + ptrdiff_t(begin), spans_.begin() + ptrdiff_t(end), byKey);
    }
    const size_t next = depth + kKeyUnits;
    for (size_t i = begin; i < end;) {
        // A run of equal keys needs the next stretch only if one of its entries goes on past this
        // one; otherwise its entries are all the same.
        bool goesOn = spans_[i].length > next;
        size_t j = i + 1;
        for (; j < end && spans_[j].key == spans_[i].key; ++j) goesOn = goesOn || spans_[j].length > next;
        if (j - i > 1 && goesOn) {
            setKeys(i, j, next);
            sortRun(i, j, next);
        }
        i = j;
    }
}

std::string SiteEntries::listBytes() const {
    // The rules of text_rules.h, written straight into text of the final size (a million
    // entries make it too slow to go through appendListBytes entry by entry). An entry holds no
    // line feed, which ends it, so each unit is one byte and each entry ends in CR LF.
    size_t total = 0;
    for (const Span& span : spans_) total += span.length + 2;
    std::string out(total, '\0');
    char* bytes = total ? &out[0] : nullptr;
    for (const Span& span : spans_) {
        const wchar_t* units = text_.data() + span.offset;
        for (uint32_t i = 0; i < span.length; ++i) {
            const unsigned unit = static_cast<Unit>(units[i]);
            *bytes++ = unit < 256 ? static_cast<char>(unit) : '?';
        }
        *bytes++ = '\r';
        *bytes++ = '\n';
    }
    return out;
}
