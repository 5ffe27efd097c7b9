// Downloaders that misbehave: one that never writes and never ends, one that floods the pipe when
// the host stops the job, and 50 MB without a single line feed. (One that ends at once without
// output is RelayJob.AChildWithoutOutputGetsOnlyTheEndOfDataNotice.)
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "byte_stream.h"
#include "paths.h"
#include "relay_case.h"
#include "wait_until.h"

TEST(RelayFaultDownloader, SilentDownloaderThatNeverEndsIsLeftRunningByAStop) {
    RelayCase c(L"silentstop");
    c.installDownloader({"sleep 600000"});
    HostSim& host = c.startJob();
    const DWORD downloader = c.standinProcessId({}, kJobTimeoutMs);
    ASSERT_NE(downloader, 0u);
    // The worker now waits in its first read, for output that never comes.
    Sleep(2500);
    ASSERT_FALSE(host.exited());
    EXPECT_TRUE(c.noticesWere(Notices::None));

    ASSERT_TRUE(c.endsWithin(Ending::StopMarker, 2000));
    EXPECT_EQ(host.console(), contract::kStopReceived);
    EXPECT_TRUE(c.noticesWere(Notices::None));
    EXPECT_EQ(host.mailboxText(), contract::kStopMarker);  // read, not taken
    EXPECT_TRUE(host.events(Kind::CopyData).empty());
    EXPECT_TRUE(c.standinAlive(downloader)) << "the downloader is left running";
    EXPECT_TRUE(c.endStandin(downloader));
}

TEST(RelayFaultDownloader, StopWhileTheDownloaderFloodsEndsTheRelayAtOnce) {
    RelayCase c(L"floodstop");
    // Far more than gets through before the stop, lines of every byte but NUL.
    c.installDownloader({"stream 21 1073741824 65536 00"});
    HostSim& host = c.startJob();
    ASSERT_TRUE(host.waitForCount(Kind::CopyData, 200, kJobTimeoutMs));
    ASSERT_TRUE(c.endsWithin(Ending::StopMarker, 2000));
    EXPECT_TRUE(c.noticesWere(Notices::FirstData));
    EXPECT_EQ(host.mailboxText(), contract::kStopMarker);
    c.endStandin(c.standinProcessId());

    // What was echoed came in order and whole, and the stop line ended it.
    const std::string console = host.console();
    ASSERT_GE(console.size(), contract::kStopReceived.size());
    EXPECT_EQ(console.substr(console.size() - contract::kStopReceived.size()), contract::kStopReceived);
    const std::string echoed = console.substr(0, console.size() - contract::kStopReceived.size());
    ByteStream stream(21, std::string(1, '\0'));
    std::string expected;
    while (expected.size() < echoed.size()) expected += withCrLf(stream.next(65536));
    EXPECT_TRUE(expected.compare(0, echoed.size(), echoed) == 0) << "the echo is not the downloader's output";
    EXPECT_GE(echoed.size(), 200u);
}

TEST(RelayFaultDownloader, FiftyMegabytesWithoutALineFeedArriveWhole) {
    if (GetACP() != 1252) GTEST_SKIP() << "written for the Western European ANSI code page";
    constexpr uint32_t kSeed = 50;
    constexpr size_t kTotal = 50u << 20;
    constexpr size_t kPiece = 65536;
    const std::string excluded("\0\n", 2);
    // Too much to keep: the host side sums up what it gets as it comes. Declared before the host,
    // whose threads use them until it is gone.
    std::mutex counting;
    Checksum echoed, relayed;
    size_t messages = 0;
    DWORD largest = 0;

    RelayCase c(L"fiftymb");
    c.installDownloader({"stream " + std::to_string(kSeed) + " " + std::to_string(kTotal) + " " +
                         std::to_string(kPiece) + " " + toHex(excluded)});
    c.options.keepPayloads = false;
    c.options.onEvent = [&](const HostEvent& e) {
        std::lock_guard<std::mutex> lock(counting);
        if (e.kind == Kind::Console) echoed.add(e.bytes);
        if (e.kind == Kind::CopyData) {
            relayed.add(e.text);
            ++messages;
            largest = std::max(largest, e.cbData);
        }
    };
    ASSERT_TRUE(c.runJob(kCommand, 300000));

    // Worked out on this side: the stream, and the same through the code page.
    const std::string tail = contract::kExitNoData;
    Checksum expectedEcho, expectedRelay;
    ByteStream stream(kSeed, excluded);
    for (size_t done = 0; done < kTotal; done += kPiece) {
        const std::string piece = stream.next(std::min(kPiece, kTotal - done));
        expectedEcho.add(piece);
        expectedRelay.add(fromAnsi(piece));
    }
    expectedEcho.add(tail);

    // The last of the echo may still be on its way from the pipe.
    waitUntil(
        [&] {
            std::lock_guard<std::mutex> lock(counting);
            return echoed.count() >= expectedEcho.count();
        },
        5000);
    std::lock_guard<std::mutex> lock(counting);
    EXPECT_EQ(echoed.count(), expectedEcho.count());
    EXPECT_EQ(echoed.value(), expectedEcho.value()) << "the echo is not every byte in order";
    // No line feed: each read is relayed whole, so the lines put together are the whole output.
    EXPECT_EQ(relayed.count(), expectedRelay.count());
    EXPECT_EQ(relayed.value(), expectedRelay.value()) << "the relayed lines are not the output in order";
    EXPECT_GE(messages, kTotal / 4096);
    EXPECT_LE(largest, 8192u);
    EXPECT_TRUE(c.noticesWere(Notices::Both));
}
