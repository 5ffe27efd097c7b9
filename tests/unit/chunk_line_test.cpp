#include "text_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::wstring>;

Lines linesOf(const std::wstring& text) {
    Lines lines;
    forEachRelayedLine(text.data(), text.size(), [&](const wchar_t* line, size_t units) { lines.emplace_back(line, units); });
    return lines;
}

}  // namespace

TEST(ChunkLine, ANulByteEndsTheChunk) {
    const char bytes[] = {'a', 'b', '\0', 'c'};
    EXPECT_EQ(chunkTextLength(bytes, 4), 2u);
    EXPECT_EQ(chunkTextLength(bytes, 1), 1u);
    EXPECT_EQ(chunkTextLength("\0x", 2), 0u);
}

TEST(ChunkLine, AFullReadWithoutNulIsTakenWholeAndNoFurther) {
    std::vector<char> chunk(4096, 'y');  // heap-exact, so AddressSanitizer sees any overrun
    EXPECT_EQ(chunkTextLength(chunk.data(), chunk.size()), 4096u);
}

TEST(ChunkLine, EveryLineOfAReadIsOneMessageWithoutItsLineFeed) {
    EXPECT_EQ(linesOf(L"first\nsecond\n"), (Lines{L"first", L"second"}));
    EXPECT_EQ(linesOf(L"first\nsecond"), (Lines{L"first", L"second"}));
    EXPECT_EQ(linesOf(L"\nafter"), (Lines{L"", L"after"}));
    EXPECT_EQ(linesOf(L"one\n\n\nfour\n"), (Lines{L"one", L"", L"", L"four"}));
    EXPECT_EQ(linesOf(L"\n"), (Lines{L""}));
}

TEST(ChunkLine, ATextWithoutLineFeedIsExactlyOneMessageEvenEmpty) {
    EXPECT_EQ(linesOf(L""), (Lines{L""}));
    EXPECT_EQ(linesOf(std::wstring(4096, L'z')), (Lines{std::wstring(4096, L'z')}));
}

TEST(ChunkLine, OnlyLineFeedsSeparateCarriageReturnsStay) {
    EXPECT_EQ(linesOf(L"\r[download]  12.5%\r[download]  13.0%"), (Lines{L"\r[download]  12.5%\r[download]  13.0%"}));
    EXPECT_EQ(linesOf(L"[info] done\r\n[next]\r\n\r"), (Lines{L"[info] done\r", L"[next]\r", L"\r"}));
}

TEST(ChunkLine, OnlyTheBytesOfAnUnfinishedCharacterAreHeldBack) {
    // Lead-byte ranges as CPINFO::LeadByte gives them: 932, then 936, 949 and 950.
    const unsigned char shiftJisLeads[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0}, wideLeads[] = {0x81, 0xFE, 0, 0};
    const CodePageFacts cp932 = CodePageFacts::doubleByte(shiftJisLeads, sizeof shiftJisLeads);
    const CodePageFacts cp936 = CodePageFacts::doubleByte(wideLeads, sizeof wideLeads), &cp949 = cp936, &cp950 = cp936;
    const CodePageFacts utf8 = CodePageFacts::utf8(), cp1252;
    const struct {
        const CodePageFacts& codePage;
        std::string text;
        size_t held;
    } rows[] = {
        {cp932, "\x93\x93", 0}, {cp932, "\x93\x93\x93", 1},  // a trail byte in the lead range
        {cp932, "\x93\x41\x93\x0A", 0}, {cp932, "\xB1", 0},  // any trail byte; half-width katakana
        {cp936, "ab\xB1", 1}, {cp949, "\xC7\xD1\xB1", 1}, {cp950, "\xA4\xA4\xFE", 1}, {cp950, "\xA4\xFE\x40", 0},
        {utf8, "a\xC3", 1}, {utf8, "a\xE6\x97", 2}, {utf8, "\xF0\x9F\x98", 3}, {utf8, "\xF0\x9F\x98\x80", 0},
        {utf8, "\xE6\x97\xA5", 0}, {utf8, "x\x80", 0}, {utf8, "\x80\x80\x80\x80", 0},  // lone continuation bytes
        {utf8, "\xC0", 0}, {utf8, "\xC1", 0}, {utf8, "\xF5\x80", 0},                  // leads of nothing
        {cp1252, "\x93\x93\x93", 0}, {cp1252, "a\xE6\x97", 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(unfinishedCharacterBytes(row.codePage, row.text.data(), row.text.size()), row.held)
            << ::testing::PrintToString(row.text);
    }
}
