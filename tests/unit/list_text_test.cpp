#include "list_text.h"

#include <gtest/gtest.h>

namespace {

std::string encode(const std::wstring& text, WideUnitEncoder encoder = nullptr) {
    std::string out;
    appendListBytes(out, text.data(), text.size(), encoder);
    return out;
}

size_t euroAs0x80(wchar_t unit, char* out) {
    if (unit != 0x20AC) return 0;
    out[0] = '\x80';
    return 1;
}

size_t twoByteCode(wchar_t unit, char* out) {
    out[0] = static_cast<char>(0x80 | (unit >> 8));
    out[1] = static_cast<char>(unit & 0xFF);
    return 2;
}

}  // namespace

TEST(ListText, WritesLineFeedsAsCrLfAndLowUnitsAsTheirByte) {
    EXPECT_EQ(encode(L"a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(encode(L"x\r\n"), "x\r\r\n");  // a line that already ended in CR LF
    EXPECT_EQ(encode(std::wstring(1, wchar_t(0xE9))), "\xE9");
    EXPECT_EQ(encode(std::wstring(1, wchar_t(0xFF))), "\xFF");
}

TEST(ListText, WritesHighUnitsThroughTheEncoderOrAsQuestionMark) {
    EXPECT_EQ(encode(L"1\x20AC", euroAs0x80), "1\x80");
    EXPECT_EQ(encode(L"\x4E2D", euroAs0x80), "?");  // the code page cannot hold it
    EXPECT_EQ(encode(L"\x4E2D", nullptr), "?");
    EXPECT_EQ(encode(L"\x4E2D", twoByteCode), std::string("\xCE\x2D", 2));
}

TEST(ListText, ReadsEachByteAsOneUnitAndCrLfAsLineFeed) {
    const std::string bytes = "a\r\nb\rc\r\r\nd\n\xE9\x80";
    std::wstring text = decodeListBytes(bytes.data(), bytes.size());
    EXPECT_EQ(text, std::wstring(L"a\nb\rc\r\nd\n") + wchar_t(0xE9) + wchar_t(0x80));
}

TEST(ListText, ReadKeepsACrAtTheVeryEnd) {
    const std::string bytes = "z\r";
    EXPECT_EQ(decodeListBytes(bytes.data(), bytes.size()), L"z\r");
    EXPECT_EQ(decodeListBytes(nullptr, 0), L"");
}

TEST(ListText, BytesSurviveAWriteAndReadRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    std::wstring text = decodeListBytes(all.data(), all.size());
    std::string back = encode(text);
    // Only the lone LF changes: it is written as CR LF.
    std::string expected = all;
    expected.replace(expected.find('\n'), 1, "\r\n");
    EXPECT_EQ(back, expected);
}
