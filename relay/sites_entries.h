#pragma once
// The supported-sites list as entries: cut into pieces the way fgetws with a limit of 100 units
// reads the list file, and sorted by UTF-16 code unit as wcscmp orders them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// fgetws with a limit of 100 units reads at most 99 characters a call.
constexpr size_t kMaxEntryUnits = 99;

// Whether the sorted copy of a list of `entryCount` entries goes back in its place and is shown
// in Notepad: only for a list longer than 50 entries; a shorter one stays as the downloader wrote it.
bool replacesList(size_t entryCount);

// A list may hold a million entries, so the entries are views into one text rather than a
// string each.
class SiteEntries {
public:
    // Cuts the decoded list text (line feeds as single units) into entries.
    explicit SiteEntries(std::wstring text);

    size_t count() const { return spans_.size(); }
    const wchar_t* data(size_t index) const { return text_.data() + spans_[index].offset; }
    size_t length(size_t index) const { return spans_[index].length; }
    std::wstring entry(size_t index) const { return std::wstring(data(index), length(index)); }

    // Stable ascending order by code unit: upper case before lower case, a prefix before the
    // longer text, equal entries in their reading order.
    void sort();

    // The entries in their present order as list file bytes, each followed by a line feed
    // ("%s\n" per entry, written by the rules of text_rules.h). Every unit came from a byte of
    // the file, so none needs a code page: a unit above 255 would become "?".
    std::string listBytes() const;

private:
    struct Span {
        size_t offset;
        uint32_t length;
        // Sort key: the units of one stretch of the entry, as many as fit in 64 bits, first unit
        // highest. Zero-padded past the end; entries hold no NUL, so the padding orders like the end.
        uint64_t key;
    };
    void setKeys(size_t begin, size_t end, size_t depth);
    void sortRun(size_t begin, size_t end, size_t depth);

    std::wstring text_;
    std::vector<Span> spans_;
};
