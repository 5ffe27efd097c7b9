#include "sites_entries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "text_rules.h"

namespace {

std::vector<std::wstring> entriesOf(const SiteEntries& entries) {
    std::vector<std::wstring> out;
    for (size_t i = 0; i < entries.count(); ++i) out.push_back(entries.entry(i));
    return out;
}

std::vector<std::wstring> split(const std::wstring& text) { return entriesOf(SiteEntries(text)); }

std::vector<std::wstring> sorted(const std::wstring& text) {
    SiteEntries entries(text);
    entries.sort();
    return entriesOf(entries);
}

std::wstring lines(size_t count) {
    std::wstring text;
    for (size_t i = 0; i < count; ++i) text += L"site" + std::to_wstring(count - i) + L"\n";
    return text;
}

// The whole step on file bytes: decode, split, sort, encode.
std::string sortListBytes(const std::string& bytes) {
    SiteEntries entries(decodeListBytes(bytes.data(), bytes.size()));
    entries.sort();
    return entries.listBytes();
}

}  // namespace

TEST(SitesEntries, OneEntryPerLineWithoutItsLineFeed) {
    EXPECT_EQ(split(L"b\nB\na\n"), (std::vector<std::wstring>{L"b", L"B", L"a"}));
    EXPECT_EQ(split(L""), std::vector<std::wstring>{});
    // The last piece counts even without a line feed.
    EXPECT_EQ(split(L"one\ntwo"), (std::vector<std::wstring>{L"one", L"two"}));
    EXPECT_EQ(split(L"\n\nx\n\n"), (std::vector<std::wstring>{L"", L"", L"x", L""}));
}

TEST(SitesEntries, LongLinesAreCutInto99UnitPieces) {
    const std::wstring line150 = std::wstring(99, L'm') + std::wstring(51, L'a');
    EXPECT_EQ(split(line150 + L"\n"), (std::vector<std::wstring>{std::wstring(99, L'm'), std::wstring(51, L'a')}));

    // Exactly 99 characters: the line feed is left over for a piece of its own.
    EXPECT_EQ(split(std::wstring(99, L'x') + L"\ny\n"),
              (std::vector<std::wstring>{std::wstring(99, L'x'), L"", L"y"}));
    EXPECT_EQ(split(std::wstring(98, L'x') + L"\ny\n"), (std::vector<std::wstring>{std::wstring(98, L'x'), L"y"}));
    EXPECT_EQ(split(std::wstring(198, L'x') + L"\n"),
              (std::vector<std::wstring>{std::wstring(99, L'x'), std::wstring(99, L'x'), L""}));
    // At the end of the file a 99-character piece has no line feed to leave over.
    EXPECT_EQ(split(std::wstring(99, L'x')), (std::vector<std::wstring>{std::wstring(99, L'x')}));
}

TEST(SitesEntries, CountsAroundTheNotepadThreshold) {
    EXPECT_EQ(SiteEntries(lines(50)).count(), 50u);
    EXPECT_EQ(SiteEntries(lines(51)).count(), 51u);
    // No line feed after the last line changes nothing; a blank line at the end is one entry more.
    std::wstring fifty = lines(50);
    EXPECT_EQ(SiteEntries(fifty.substr(0, fifty.size() - 1)).count(), 50u);
    EXPECT_EQ(SiteEntries(fifty + L"\n").count(), 51u);
    // A long line counts as two.
    EXPECT_EQ(SiteEntries(lines(49) + std::wstring(150, L'q') + L"\n").count(), 51u);
    // Fifty entries stay as they were; from 51 on the sorted copy replaces the list.
    EXPECT_FALSE(replacesList(SiteEntries(lines(50)).count()));
    EXPECT_TRUE(replacesList(SiteEntries(lines(51)).count()));
}

TEST(SitesEntries, CarriageReturnsStayExceptTheOnesOfCrLf) {
    // On disk: a line that was already CR LF in the output is CR CR LF; a lone CR is a byte of its own.
    const std::string bytes = "one\r\r\ntwo\r\nth\rree\r\n";
    EXPECT_EQ(split(decodeListBytes(bytes.data(), bytes.size())),
              (std::vector<std::wstring>{L"one\r", L"two", L"th\rree"}));
}

TEST(SitesEntries, ANulEndsItsEntryButNotThePiece) {
    const std::wstring text(L"ab\0cd\nef\n", 9);
    EXPECT_EQ(split(text), (std::vector<std::wstring>{L"ab", L"ef"}));
    // The NUL still counts towards the 99 units of its piece.
    std::wstring longer = L"x" + std::wstring(1, L'\0') + std::wstring(100, L'y') + L"\n";
    EXPECT_EQ(split(longer), (std::vector<std::wstring>{L"x", L"yyy"}));
}

TEST(SitesEntries, CodeUnitOrderPutsUpperCaseFirst) {
    EXPECT_EQ(sorted(L"b\nB\na\n"), (std::vector<std::wstring>{L"B", L"a", L"b"}));
    EXPECT_EQ(sorted(L"ab\n\na\nA\n"), (std::vector<std::wstring>{L"", L"A", L"a", L"ab"}));
    EXPECT_EQ(sorted(L"site.com\nsite\nsite:x\nsite.co\n"),
              (std::vector<std::wstring>{L"site", L"site.co", L"site.com", L"site:x"}));
}

TEST(SitesEntries, EntriesThatShareTheirFirstUnitsSortByTheRest) {
    EXPECT_EQ(sorted(L"abcdf\nabcd\nabcde\nabc\nabcdd\nab\nabcd\n"),
              (std::vector<std::wstring>{L"ab", L"abc", L"abcd", L"abcd", L"abcdd", L"abcde", L"abcdf"}));
    EXPECT_EQ(sorted(L"x.example.com:b\nx.example.com:a\nx.example.com\nx.example.co\n"),
              (std::vector<std::wstring>{L"x.example.co", L"x.example.com", L"x.example.com:a", L"x.example.com:b"}));
    // An entry ends where it ends: the line feed after it is not read as a unit of its own, which
    // would sort it after a longer entry that goes on with a unit below the line feed.
    EXPECT_EQ(sorted(L"ab\tc\nab\n"), (std::vector<std::wstring>{L"ab", L"ab\tc"}));
    EXPECT_EQ(sorted(L"ab\x01\nab\n"), (std::vector<std::wstring>{L"ab", L"ab\x01"}));
}

TEST(SitesEntries, PiecesOfALongLineSortOnTheirOwn) {
    const std::wstring line150 = std::wstring(99, L'm') + std::wstring(51, L'a');
    EXPECT_EQ(sorted(L"b\n" + line150 + L"\n"),
              (std::vector<std::wstring>{std::wstring(51, L'a'), L"b", std::wstring(99, L'm')}));
}

TEST(SitesEntries, UnitsCompareAsUnsignedValues) {
    // Bytes from 0x80 up (the ANSI letters) come after every ASCII character.
    std::wstring text = std::wstring(1, wchar_t(0xF1)) + L"\n~\nz\n" + std::wstring(1, wchar_t(0x80)) + L"\n";
    EXPECT_EQ(sorted(text), (std::vector<std::wstring>{L"z", L"~", std::wstring(1, wchar_t(0x80)),
                                                       std::wstring(1, wchar_t(0xF1))}));
    // Units a signed 16-bit type would see as negative.
    const std::wstring h(1, wchar_t(0x8000)), l(1, wchar_t(0x7FFF)), top(1, wchar_t(0xFFFF));
    EXPECT_EQ(sorted(top + L"\n" + h + L"\n" + l + L"\nzzzz" + h + L"\nzzzz" + l + L"\n"),
              (std::vector<std::wstring>{L"zzzz" + l, L"zzzz" + h, l, h, top}));
}

TEST(SitesEntries, EqualEntriesKeepTheirReadingOrder) {
    SiteEntries entries(L"b\na\nb\na\nB\nb\n");
    entries.sort();
    ASSERT_EQ(entriesOf(entries), (std::vector<std::wstring>{L"B", L"a", L"a", L"b", L"b", L"b"}));
    // Entries are views into the text read, so their addresses give their reading order.
    EXPECT_LT(entries.data(1), entries.data(2));
    EXPECT_LT(entries.data(3), entries.data(4));
    EXPECT_LT(entries.data(4), entries.data(5));
}

TEST(SitesEntries, WritesEachEntryWithALineFeedAsCrLf) {
    SiteEntries entries(L"b\n\na");
    entries.sort();
    EXPECT_EQ(entries.listBytes(), "\r\na\r\nb\r\n");
    EXPECT_EQ(SiteEntries(L"").listBytes(), "");
    // Units came from bytes; one that did not has no byte to go back to.
    EXPECT_EQ(SiteEntries(std::wstring(L"x") + wchar_t(0xFF) + wchar_t(0x4E2D)).listBytes(), "x\xFF?\r\n");
}

TEST(SitesEntries, FileBytesInSortedCrLfBytesOut) {
    EXPECT_EQ(sortListBytes("zoom\r\nZype\r\ngeneric\r\n\xF1o\r\n"), "Zype\r\ngeneric\r\nzoom\r\n\xF1o\r\n");
    EXPECT_EQ(sortListBytes("b\r\r\na"), "a\r\nb\r\r\n");
    EXPECT_EQ(sortListBytes(""), "");
}

TEST(SitesEntries, LargeListMatchesStableSortOfStrings) {
    std::mt19937 random(20240917);
    const wchar_t alphabet[] = {L'a', L'b', L'B', L'.', L':', L'-', L'0', L'z', wchar_t(0xE9), wchar_t(0xFF), L'\r'};
    constexpr size_t kLines = 200000;
    std::wstring text;
    std::vector<std::pair<std::wstring, size_t>> expected;  // entry and where it was read
    for (size_t i = 0; i < kLines; ++i) {
        // Short lines repeat often, so stability is put to work; none reaches 99 units.
        const size_t length = random() % 4 == 0 ? random() % 99 : random() % 4;
        std::wstring line;
        for (size_t k = 0; k < length; ++k) line += alphabet[random() % (sizeof alphabet / sizeof alphabet[0])];
        expected.emplace_back(line, text.size());
        text += line + L"\n";
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    SiteEntries entries(text);
    ASSERT_EQ(entries.count(), kLines);
    entries.sort();
    // The entry read first sits at the start of the text.
    const wchar_t* base = entries.data(0);
    for (size_t i = 1; i < kLines; ++i) base = std::min(base, entries.data(i));
    for (size_t i = 0; i < kLines; ++i) {
        ASSERT_EQ(entries.entry(i), expected[i].first) << "at " << i;
        ASSERT_EQ(size_t(entries.data(i) - base), expected[i].second) << "at " << i;
    }
}
