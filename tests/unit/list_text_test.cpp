#include "text_rules.h"

#include <gtest/gtest.h>

namespace {

std::string encode(const std::string& read) {
    std::string out;
    appendListBytes(out, read.data(), read.size());
    return out;
}

}  // namespace

TEST(ListText, WritesLineFeedsAsCrLfAndEveryOtherByteAsItCame) {
    EXPECT_EQ(encode("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(encode("x\r\n"), "x\r\r\n");  // a line that already ended in CR LF
    EXPECT_EQ(encode("a\rb\r"), "a\rb\r");  // lone CRs stay
    EXPECT_EQ(encode("\xE9\xFF"), "\xE9\xFF");
    EXPECT_EQ(encode(""), "");
}

TEST(ListText, KeepsBytesThatNoCodePageConversionWouldGiveBack) {
    // A Shift-JIS character and the first half of another, a UTF-8 sequence cut short, a byte
    // that Windows-1252 leaves undefined: the list gets them as they came.
    const std::string bytes = "\x93\xFA\x96 \xE6\x97 \x81\n\x80";
    EXPECT_EQ(encode(bytes), "\x93\xFA\x96 \xE6\x97 \x81\r\n\x80");
}

TEST(ListText, ReadsCutAnywhereMakeTheSameFileAsOneRead) {
    const std::string output = "\x93\xFA\x96\x7B\r\n\xE6\x97\xA5\n\n\r\x81x\n";
    for (size_t cut = 0; cut <= output.size(); ++cut) {
        EXPECT_EQ(encode(output.substr(0, cut)) + encode(output.substr(cut)), encode(output)) << "cut at " << cut;
    }
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
    // Only the lone LF changes on disk: it is written as CR LF, and read back as LF.
    std::string expected = all;
    expected.replace(expected.find('\n'), 1, "\r\n");
    const std::string written = encode(all);
    EXPECT_EQ(written, expected);
    std::wstring text = decodeListBytes(written.data(), written.size());
    ASSERT_EQ(text.size(), all.size());
    for (size_t i = 0; i < all.size(); ++i) EXPECT_EQ(text[i], wchar_t(static_cast<unsigned char>(all[i])));
}
