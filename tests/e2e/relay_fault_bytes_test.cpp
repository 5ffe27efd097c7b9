// Nothing the downloader writes is lost or changed on its way: every byte value reaches the echo,
// the list file and the host in order, every line of a read, each character whole; a NUL byte ends
// its own read only. (Full 4096-byte reads
// and a few code page bytes are in relay_limits_test.cpp, a NUL byte in a plain job in
// relay_job_test.cpp.)
#include <gtest/gtest.h>

#include <array>

#include "byte_stream.h"
#include "notepad_check.h"
#include "paths.h"
#include "relay_case.h"
#include "sites_expect.h"

namespace {

std::string byteRange(int first, int last) {
    std::string bytes;
    for (int b = first; b <= last; ++b) bytes += static_cast<char>(b);
    return bytes;
}

// A read as narrow text: up to its first NUL byte.
std::string upToNul(const std::string& read) { return read.substr(0, read.find('\0')); }

// Runs the reads in sites mode, each its own read, and checks the run's end, its notices, its
// echo and the host's lines; returns the text the list should hold: each read up to its first NUL.
std::string runSitesReads(RelayCase& c, const std::vector<std::string>& reads) {
    c.installDownloader(c.lockstepWrites(reads));
    EXPECT_TRUE(c.runSites());
    EXPECT_TRUE(c.noticesWere(Notices::Both));
    std::string text;
    for (const std::string& r : reads) text += upToNul(r);
    EXPECT_EQ(c.host().console(), withCrLf(text) + contract::kExitNoData);
    EXPECT_EQ(relayedLines(c.host()), relayedLinesOf(reads));
    return text;
}

// How often each byte occurs, line breaks left out (sorting the list adds and moves them).
std::array<size_t, 256> byteCounts(const std::string& bytes) {
    std::array<size_t, 256> counts{};
    for (unsigned char b : bytes) {
        if (b != '\r' && b != '\n') ++counts[b];
    }
    return counts;
}

class RelayFaultBytes : public ::testing::Test {
protected:
    RelayCase c{L"bytes"};
    void TearDown() override { endNotepadsOf(c.dir.path()); }
};

// An ANSI code page, the locale that gives it under Wine, and two characters of several bytes each.
struct AnsiCodePage {
    const char* locale;
    UINT number;
    std::string word;
};

void PrintTo(const AnsiCodePage& codePage, std::ostream* out) { *out << codePage.locale; }

// Named "RelayFaultBytes/CodePage" by its instantiation below.
class CodePage : public RelayFaultBytes, public ::testing::WithParamInterface<AnsiCodePage> {};

std::string lcAll() {
    char value[256] = {};
    const DWORD length = GetEnvironmentVariableA("LC_ALL", value, sizeof value);
    return length < sizeof value ? std::string(value, length) : std::string();
}

}  // namespace

TEST_F(RelayFaultBytes, EveryByteValueReachesEchoListAndHost) {
    if (GetACP() != 1252) GTEST_SKIP() << "written for the Western European ANSI code page";
    const std::vector<std::string> reads = {
        "high " + byteRange(0x80, 0xFF) + "\nsecond line of the read\n",
        std::string("cut here\0never seen\n", 20),
        "whole again\n",
        byteRange(0x01, 0xFF),
        std::string("\0leading NUL\n", 13),
        "end\n",
    };
    const std::string text = runSitesReads(c, reads);
    // Eight entries, so the list keeps the output as it came.
    EXPECT_EQ(readFileBytes(c.listPath()), withCrLf(text));
    // Two lines in the first read and in the fourth (cut at its byte 0x0A), one in each other.
    const auto relayed = c.host().events(Kind::CopyData);
    ASSERT_EQ(relayed.size(), 8u);
    EXPECT_EQ(relayed[6].cbData, 0u);  // a read that begins with NUL relays one empty line
}

TEST_F(RelayFaultBytes, WritesOfEverySizeArriveWholeAndInOrder) {
    if (GetACP() != 1252) GTEST_SKIP() << "written for the Western European ANSI code page";
    // Lines of random bytes (all but NUL) in writes of 1 to 4096 bytes, each read on its own.
    ByteStream stream(11, std::string(1, '\0'));
    std::vector<std::string> writes;
    std::vector<std::string> script = {c.lockstep()};
    std::string all;
    for (int i = 0; i < 300; ++i) {
        writes.push_back(stream.next(stream.between(1, 4096)));
        script.push_back(writeOf(writes.back()));
        all += writes.back();
    }
    c.installDownloader(script);
    ASSERT_TRUE(c.runSites(kJobTimeoutMs * 2));
    EXPECT_TRUE(c.noticesWere(Notices::Both));
    HostSim& host = c.host();

    Checksum echoed, expectedEcho;
    echoed.add(host.console());
    expectedEcho.add(withCrLf(all) + contract::kExitNoData);
    EXPECT_EQ(echoed.count(), expectedEcho.count());
    EXPECT_EQ(echoed.value(), expectedEcho.value()) << "the echo is not every byte in order";

    const std::vector<std::wstring> lines = relayedLines(host);
    const std::vector<std::wstring> expected = relayedLinesOf(writes);
    ASSERT_EQ(lines.size(), expected.size());
    size_t wrong = 0, firstWrong = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (lines[i] == expected[i]) continue;
        if (wrong++ == 0) firstWrong = i;
    }
    EXPECT_EQ(wrong, 0u) << "first wrong line: " << firstWrong;

    // The list holds thousands of entries, so it comes back sorted: every byte is still there.
    const std::string list = readFileBytes(c.listPath());
    EXPECT_TRUE(byteCounts(list) == byteCounts(all)) << "the list file lost or changed bytes";
    expectNotepadShowingList(c.dir.path(), c.listPath());
}

// The list file gets the downloader's bytes, not what the ANSI code page makes of each read: a
// character cut between two reads and bytes that the code page does not know come through
// unchanged, and the sites step sorts them as bytes. The host gets the lines through the code
// page in whole characters: the first bytes of a cut one wait for the rest in the next read.
TEST_P(CodePage, ListHoldsTheDownloadersBytesAndTheHostGetsWholeCharacters) {
    const AnsiCodePage& codePage = GetParam();
    if (GetACP() != codePage.number) {
        ASSERT_NE(lcAll(), codePage.locale) << "this Wine gives that locale code page " << GetACP();
        EXPECT_TRUE(passesUnderLocale(codePage.locale, c.dir.file(L"report.xml")));
        return;
    }
    // The second character is cut after its first byte. Then every byte from 0x80 up at the start
    // and at the end of a read, beside ASCII, beside itself, before and after CR and LF. The output
    // ends inside a character, which the host still gets.
    const std::string& word = codePage.word;
    const size_t cut = word.size() / 2 + 1;
    std::vector<std::string> reads = {"cut " + word.substr(0, cut), word.substr(cut) + " joined\n"};
    for (int b = 0x80; b <= 0xFF; ++b) {
        const std::string high(1, static_cast<char>(b));
        reads.push_back(high + "x" + high + high + "\r" + high + (b % 4 == 3 ? "\n" + high : ""));
    }
    reads.push_back("end " + word.substr(0, 1));
    const std::string text = runSitesReads(c, reads);
    // 34 entries, so the list keeps the output as it came and "Out.txt" holds the sorted copy.
    const std::string list = readFileBytes(c.listPath());
    EXPECT_EQ(list, withCrLf(text));
    EXPECT_EQ(readFileBytes(c.sortedPath()), sortedCrlf(list));
    EXPECT_EQ(fromAnsi(text.substr(4, word.size())).size(), 2u) << "the word is two characters here";
    const std::vector<std::wstring> lines = relayedLines(c.host());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0] + lines[1], fromAnsi("cut " + word + " joined")) << "the cut line, joined";
}

INSTANTIATE_TEST_SUITE_P(
    RelayFaultBytes, CodePage,
    ::testing::Values(AnsiCodePage{"ja_JP.UTF-8", 932, "\x93\xFA\x96\x7B"},  // Shift-JIS
                      // Wine's code page for a locale that has no ANSI code page of its own.
                      AnsiCodePage{"hi_IN.UTF-8", CP_UTF8, "\xE6\x97\xA5\xE6\x9C\xAC"}),
    [](const ::testing::TestParamInfo<AnsiCodePage>& info) { return "CodePage" + std::to_string(info.param.number); });
