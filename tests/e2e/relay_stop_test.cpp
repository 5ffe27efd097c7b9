// The host cancels: the stop marker in the mailbox, or its window closing.
#include <gtest/gtest.h>

#include "relay_case.h"

namespace {

// The relay's standard output is a pipe that nobody reads, and the downloader writes until it is
// full: the worker's echo then blocks inside the output stream, as on a console whose window
// holds a selection. True once, past the first-data pause, no line has been relayed for a second.
bool startWithOutputBlocked(RelayCase& c) {
    c.installDownloader({"stream 3 1073741824 512 00"});
    c.options.readOutput = false;
    HostSim& host = c.startJob();
    if (!host.waitForCount(Kind::Notice, 1, kJobTimeoutMs)) return false;
    Sleep(2500);
    size_t relayed = host.events(Kind::CopyData).size();
    for (int i = 0; i < 20; ++i) {
        Sleep(1000);
        const size_t now = host.events(Kind::CopyData).size();
        if (now == relayed) return !host.exited();
        relayed = now;
    }
    return false;
}

}  // namespace

TEST(RelayStop, StopMarkerWhileWaitingEndsTheRelayAtTheNextPoll) {
    RelayCase c(L"stopwait");
    HostSim& host = c.start();
    Sleep(1500);
    ASSERT_FALSE(host.exited());
    ASSERT_TRUE(c.endsWithin(Ending::StopMarker, 2000));
    EXPECT_EQ(host.console(), contract::kStopReceived);
    EXPECT_TRUE(c.noticesWere(Notices::None));
    EXPECT_EQ(host.mailboxText(), contract::kStopMarker);  // the marker is read, not taken
}

TEST(RelayStop, StopMarkerWinsOverACommandInTheSameText) {
    RelayCase c(L"stopfirst");
    c.installDownloader({"exit 0"});
    c.options.initialMailbox = kCommand + L" " + contract::kStopMarker;
    HostSim& host = c.start();
    ASSERT_TRUE(c.ended(10000));
    EXPECT_EQ(host.console(), contract::kStopReceived);
    EXPECT_TRUE(c.standin().empty()) << "no downloader is started";
    EXPECT_EQ(host.mailboxText(), c.options.initialMailbox);
    EXPECT_TRUE(c.noticesWere(Notices::None));
}

TEST(RelayStop, StopMarkerWhileTheOutputIsBlockedEndsTheRelay) {
    RelayCase c(L"stopblocked");
    ASSERT_TRUE(startWithOutputBlocked(c)) << "the relay's output never blocked";
    ASSERT_TRUE(c.endsWithin(Ending::StopMarker, 2000)) << "the relay waits on its blocked output";
    EXPECT_TRUE(c.noticesWere(Notices::FirstData));  // a stop posts no end-of-data notice
    EXPECT_EQ(c.host().mailboxText(), contract::kStopMarker);
}

TEST(RelayStop, HostThatNeverWritesAndClosesItsWindowEndsTheRelay) {
    RelayCase c(L"gonewait");
    HostSim& host = c.start();
    Sleep(2500);
    ASSERT_FALSE(host.exited()) << "the relay keeps polling while the host is there";
    ASSERT_TRUE(c.endsWithin(Ending::WindowClosed, 2000));
    EXPECT_EQ(host.console(), "");
    EXPECT_TRUE(c.noticesWere(Notices::None));
}

TEST(RelayStop, HostClosingWhileTheOutputIsBlockedEndsTheRelay) {
    RelayCase c(L"goneblocked");
    ASSERT_TRUE(startWithOutputBlocked(c)) << "the relay's output never blocked";
    ASSERT_TRUE(c.endsWithin(Ending::WindowClosed, 2000)) << "the relay outlives its host";
    EXPECT_TRUE(c.noticesWere(Notices::FirstData));
}

// Either ending while the downloader runs: the main thread sees it within a poll, although the
// worker is blocked in its read, and the downloader is left running.
class RelayStopDuringAJob : public ::testing::TestWithParam<Ending> {};

TEST_P(RelayStopDuringAJob, EndsTheRelayAndLeavesTheDownloader) {
    const bool marker = GetParam() == Ending::StopMarker;
    RelayCase c(marker ? L"stopjob" : L"gonejob");
    c.installDownloader({c.lockstep(), writeOf("[download] started\n"), "sleep 60000"});
    HostSim& host = c.startJob();
    ASSERT_TRUE(host.waitForCount(Kind::CopyData, 1, kJobTimeoutMs));
    ASSERT_TRUE(c.endsWithin(GetParam(), 2000));
    EXPECT_EQ(host.console(), "[download] started\r\n" + (marker ? contract::kStopReceived : std::string()));
    EXPECT_EQ(relayedLines(host), std::vector<std::wstring>{L"[download] started"});
    EXPECT_TRUE(c.noticesWere(Notices::FirstData));  // a stop posts no end-of-data notice
    EXPECT_EQ(host.mailboxText(), marker ? contract::kStopMarker : L"");  // the marker is read, not taken
    const DWORD child = c.standinProcessId();
    ASSERT_NE(child, 0u);
    EXPECT_TRUE(c.standinAlive(child)) << "the downloader is not terminated";
}

INSTANTIATE_TEST_SUITE_P(RelayStop, RelayStopDuringAJob, ::testing::Values(Ending::StopMarker, Ending::WindowClosed),
                         [](const ::testing::TestParamInfo<Ending>& info) {
                             return info.param == Ending::StopMarker ? "StopMarker" : "WindowClosed";
                         });
