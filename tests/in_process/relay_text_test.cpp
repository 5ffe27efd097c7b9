// The relay's ANSI conversions, on the system's own code page tables.
#include <gtest/gtest.h>

#include <windows.h>

#include "ansi_text.h"

TEST(RelayText, ConversionsRoundTripEveryByte) {
    if (GetACP() != 1252) GTEST_SKIP() << "written for the Western European ANSI code page";
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::wstring wide = ansiToWide(all.data(), all.size());
    ASSERT_EQ(wide.size(), all.size());
    EXPECT_EQ(wideToAnsi(wide), all);
}

TEST(RelayText, NarrowConversionIsNotCutShort) {
    const std::wstring longText(6000, L'q');
    EXPECT_EQ(wideToAnsi(longText), std::string(6000, 'q'));
    EXPECT_EQ(ansiToWide("", 0), L"");
}
