// Nothing the downloader writes is lost or changed on its way: every byte value reaches the echo,
// the list file and the host in order; a NUL byte ends its own read only. (Full 4096-byte reads
// and a few code page bytes are in relay_limits_test.cpp, a NUL byte in a plain job in
// relay_job_test.cpp.)
#include <gtest/gtest.h>

#include <array>

#include "byte_stream.h"
#include "notepad_check.h"
#include "relay_case.h"

namespace {

std::string byteRange(int first, int last) {
    std::string bytes;
    for (int b = first; b <= last; ++b) bytes += static_cast<char>(b);
    return bytes;
}

// A read as narrow text: up to its first NUL byte.
std::string upToNul(const std::string& read) { return read.substr(0, read.find('\0')); }

std::wstring firstLineOf(const std::string& read) {
    const std::string text = upToNul(read);
    return fromAnsi(text.substr(0, text.find('\n')));
}

// How often each byte occurs, line breaks left out (sorting the list adds and moves them).
std::array<size_t, 256> byteCounts(const std::string& bytes) {
    std::array<size_t, 256> counts{};
    for (unsigned char b : bytes) {
        if (b != '\r' && b != '\n') ++counts[b];
    }
    return counts;
}

class RelayFaultBytesRun : public ::testing::Test {
protected:
    RelayCase c{L"bytes"};
    void TearDown() override { endNotepadsOf(c.dir.path()); }
};

}  // namespace

TEST_F(RelayFaultBytesRun, EveryByteValueReachesEchoListAndHost) {
    if (GetACP() != 1252) GTEST_SKIP() << "written for the Western European ANSI code page";
    const std::vector<std::string> reads = {
        "high " + byteRange(0x80, 0xFF) + "\nsecond line of the read\n",
        std::string("cut here\0never seen\n", 20),
        "whole again\n",
        byteRange(0x01, 0xFF),
        std::string("\0leading NUL\n", 13),
        "end\n",
    };
    c.installDownloader(c.lockstepWrites(reads));
    HostSim& host = c.startSites();
    ASSERT_TRUE(host.waitForExit(kJobTimeoutMs));
    EXPECT_EQ(host.exitCode(), 0u);

    std::string text;
    std::vector<std::wstring> lines;
    for (const std::string& r : reads) {
        text += upToNul(r);
        lines.push_back(firstLineOf(r));
    }
    EXPECT_EQ(host.console(), withCrLf(text) + "\r\nEXIT NO DATA\r\n");
    // Eight entries, so the list keeps the output as it came.
    EXPECT_EQ(readFileBytes(c.listPath()), withCrLf(text));
    EXPECT_EQ(relayedLines(host), lines);
    const auto relayed = host.events(Kind::CopyData);
    ASSERT_EQ(relayed.size(), reads.size());
    EXPECT_EQ(relayed[4].cbData, 0u);  // a read that begins with NUL relays an empty line
    EXPECT_EQ(host.events(Kind::Notice).size(), 2u);
}

TEST_F(RelayFaultBytesRun, WritesOfEverySizeArriveWholeAndInOrder) {
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
    HostSim& host = c.startSites();
    ASSERT_TRUE(host.waitForExit(kJobTimeoutMs * 2));
    EXPECT_EQ(host.exitCode(), 0u);

    Checksum echoed, expectedEcho;
    echoed.add(host.console());
    expectedEcho.add(withCrLf(all) + "\r\nEXIT NO DATA\r\n");
    EXPECT_EQ(echoed.count(), expectedEcho.count());
    EXPECT_EQ(echoed.value(), expectedEcho.value()) << "the echo is not every byte in order";

    const std::vector<std::wstring> lines = relayedLines(host);
    ASSERT_EQ(lines.size(), writes.size());
    size_t wrong = 0, firstWrong = 0;
    for (size_t i = 0; i < writes.size(); ++i) {
        if (lines[i] == firstLineOf(writes[i])) continue;
        if (wrong++ == 0) firstWrong = i;
    }
    EXPECT_EQ(wrong, 0u) << "first wrong line: " << firstWrong;

    // The list holds thousands of entries, so it comes back sorted: every byte is still there.
    const std::string list = readFileBytes(c.listPath());
    EXPECT_TRUE(byteCounts(list) == byteCounts(all)) << "the list file lost or changed bytes";
    expectNotepadShowingList(c.dir.path(), c.listPath());
}
