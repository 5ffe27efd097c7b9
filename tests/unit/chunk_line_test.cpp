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
