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

namespace {

// Lead-byte ranges as CPINFO::LeadByte gives them.
const unsigned char kShiftJis[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};  // 932
const unsigned char kWideLeads[] = {0x81, 0xFE, 0, 0};              // 936, 949, 950

struct CutCharacter {
    const char* codePage;
    CodePageFacts facts;
    std::string text;
    size_t held;
};

}  // namespace

TEST(ChunkLine, OnlyTheBytesOfAnUnfinishedCharacterAreHeldBack) {
    const CodePageFacts shiftJis = CodePageFacts::doubleByte(kShiftJis, sizeof kShiftJis);
    const CodePageFacts wideLeads = CodePageFacts::doubleByte(kWideLeads, sizeof kWideLeads);
    const CodePageFacts utf8 = CodePageFacts::utf8();
    const CodePageFacts western;  // 1252
    const CutCharacter rows[] = {
        {"932", shiftJis, "\x93\x93", 0},  // a trail byte in the lead range
        {"932", shiftJis, "\x93\x93\x93", 1},
        {"932", shiftJis, "cut \x93\xFA\x96", 1},
        {"932", shiftJis, "\x93\x41\x93\x0A", 0},  // any byte after a lead is its trail
        {"932", shiftJis, "\xB1", 0},               // half-width katakana is one byte
        {"932", shiftJis, "\xFD", 0},
        {"932", shiftJis, "", 0},
        {"936", wideLeads, "ab\xB1", 1},
        {"949", wideLeads, "\xC7\xD1\xB1", 1},
        {"950", wideLeads, "\xA4\xA4\xFE", 1},
        {"950", wideLeads, "\xA4\xA4\xFE\x40", 0},
        {"65001", utf8, "a\xC3", 1},
        {"65001", utf8, "a\xE6\x97", 2},
        {"65001", utf8, "\xF0\x9F\x98", 3},
        {"65001", utf8, "\xE6\x97\xA5", 0},
        {"65001", utf8, "\xF0\x9F\x98\x80", 0},
        {"65001", utf8, "x\x80", 0},  // a lone continuation byte
        {"65001", utf8, "\x80\x80\x80\x80", 0},
        {"65001", utf8, "\xC0", 0},
        {"65001", utf8, "\xC1", 0},
        {"65001", utf8, "\xF5\x80", 0},
        {"1252", western, "\x93\x93\x93", 0},
        {"1252", western, "a\xE6\x97", 0},
    };
    for (const CutCharacter& row : rows) {
        EXPECT_EQ(unfinishedCharacterBytes(row.facts, row.text.data(), row.text.size()), row.held)
            << row.codePage << ": " << ::testing::PrintToString(row.text);
    }
}
