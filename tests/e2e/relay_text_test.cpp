// The relay's ANSI conversions, on the system's own code page tables.
#include <gtest/gtest.h>

#include <windows.h>

#include "list_text.h"
#include "text_util.h"

namespace {

std::string listBytes(const std::wstring& text) {
    std::string out;
    appendListBytes(out, text.data(), text.size(), encodeAnsiUnit);
    return out;
}

}  // namespace

TEST(RelayText, ListFileWritesUnitsThroughTheCodePageAndNeverABestFit) {
    if (GetACP() != 1252) GTEST_SKIP() << "written for the Western European ANSI code page";
    EXPECT_EQ(listBytes(L"\u20AC\u0178"), "\x80\x9F");
    // A-macron has a best-fit "A" in this code page; the list says "?" rather than pass it off.
    EXPECT_EQ(listBytes(L"\u0100"), "?");
    EXPECT_EQ(listBytes(L"\u4E2D\u6587 ok\n"), "?? ok\r\n");
}

TEST(RelayText, ConversionsRoundTripEveryByte) {
    if (GetACP() != 1252) GTEST_SKIP() << "written for the Western European ANSI code page";
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::wstring wide = ansiToWide(all.data(), all.size());
    ASSERT_EQ(wide.size(), all.size());
    EXPECT_EQ(wideToAnsi(wide), all);
    std::string expected = all;
    expected.replace(expected.find('\n'), 1, "\r\n");
    EXPECT_EQ(listBytes(wide), expected);
}

TEST(RelayText, NarrowConversionIsNotCutShort) {
    const std::wstring longText(6000, L'q');
    EXPECT_EQ(wideToAnsi(longText), std::string(6000, 'q'));
    EXPECT_EQ(ansiToWide("", 0), L"");
}
