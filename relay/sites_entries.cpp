#include "sites_entries.h"

#include <algorithm>
#include <cwchar>
#include <type_traits>
#include <utility>

namespace {
using Unit = std::make_unsigned_t<wchar_t>;
}  // namespace

SiteEntries::SiteEntries(std::wstring text) : text_(std::move(text)) {
    const wchar_t* const all = text_.data();
    const size_t size = text_.size();
    size_t pos = 0;
    while (pos < size) {
        const size_t limit = std::min(size - pos, kMaxEntryUnits);
        const wchar_t* lineFeed = std::wmemchr(all + pos, L'\n', limit);
        // A piece ends after its line feed or after 99 units; the line feed is not kept.
        const size_t pieceLength = lineFeed ? size_t(lineFeed - (all + pos)) + 1 : limit;
        size_t entryLength = lineFeed ? pieceLength - 1 : pieceLength;
        // The entry is a C string: a NUL read from the file ends it there.
        if (const wchar_t* nul = std::wmemchr(all + pos, L'\0', entryLength)) entryLength = size_t(nul - (all + pos));
        spans_.push_back(Span{pos, uint32_t(entryLength)});
        pos += pieceLength;
    }
}

int compareUnits(const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength) {
    const size_t common = std::min(aLength, bLength);
    for (size_t i = 0; i < common; ++i) {
        // wchar_t is signed on some platforms; units compare as unsigned values, as on Windows.
        const auto ua = static_cast<Unit>(a[i]);
        const auto ub = static_cast<Unit>(b[i]);
        if (ua != ub) return ua < ub ? -1 : 1;
    }
    if (aLength == bLength) return 0;
    return aLength < bLength ? -1 : 1;
}

void SiteEntries::sort() {
    const wchar_t* const all = text_.data();
    std::stable_sort(spans_.begin(), spans_.end(), [all](const Span& a, const Span& b) {
        return compareUnits(all + a.offset, a.length, all + b.offset, b.length) < 0;
    });
}

std::wstring SiteEntries::joined() const {
    size_t total = spans_.size();
    for (const Span& span : spans_) total += span.length;
    std::wstring out;
    out.reserve(total);
    for (const Span& span : spans_) {
        out.append(text_, span.offset, span.length);
        out += L'\n';
    }
    return out;
}
