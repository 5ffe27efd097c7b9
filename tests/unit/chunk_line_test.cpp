#include "text_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

size_t lineOf(const std::wstring& text) { return firstLineLength(text.data(), text.size()); }

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

TEST(ChunkLine, FirstLineEndsBeforeTheFirstLineFeed) {
    EXPECT_EQ(lineOf(L"first\nsecond\n"), 5u);
    EXPECT_EQ(lineOf(L"\nafter"), 0u);
    EXPECT_EQ(lineOf(L""), 0u);
}

TEST(ChunkLine, FirstLineKeepsCarriageReturns) {
    EXPECT_EQ(lineOf(L"\r[download]  12.5%"), 18u);            // a progress line: no line feed at all
    EXPECT_EQ(lineOf(L"[info] done\r\n[next]"), 12u);          // CR stays, LF goes
}

TEST(ChunkLine, AFullChunkWithoutLineFeedIsOneLine) {
    std::vector<wchar_t> wide(4096, L'z');
    EXPECT_EQ(firstLineLength(wide.data(), wide.size()), 4096u);
}
