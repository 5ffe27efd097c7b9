#include "settings.h"

#include <gtest/gtest.h>

TEST(NumberText, ReadsLeadingDigitsAfterBlanksAndSign) {
    EXPECT_EQ(readNumber(L"  42"), 42);
    EXPECT_EQ(readNumber(L"\t-17"), -17);
    EXPECT_EQ(readNumber(L"+8"), 8);
    EXPECT_EQ(readNumber(L"12abc"), 12);
    // _wtol's white space also holds CR, LF, vertical tab and form feed.
    EXPECT_EQ(readNumber(L"\r\n-3"), -3);
    EXPECT_EQ(readNumber(L"\v\f9"), 9);
}

TEST(NumberText, NoDigitsGiveZero) {
    EXPECT_EQ(readNumber(L""), 0);
    EXPECT_EQ(readNumber(L"on"), 0);
    EXPECT_EQ(readNumber(L"-"), 0);
    EXPECT_EQ(readNumber(L"- 5"), 0);
    EXPECT_EQ(readNumber(nullptr), 0);
}

TEST(NumberText, ClampsToTheSigned32BitRange) {
    EXPECT_EQ(readNumber(L"2147483647"), 2147483647);
    EXPECT_EQ(readNumber(L"2147483648"), 2147483647);
    EXPECT_EQ(readNumber(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(readNumber(L"-99999999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(readNumber(L"99999999999999999999999"), 2147483647);
}
