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
    HostSim& host = c.start();
    host.writeMailbox(L"youtube-dl -o x http://v");
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
    const double written = host.nowMs();
    host.writeMailbox(contract::kStopMarker);
    ASSERT_TRUE(host.waitForExit(10000));
    EXPECT_EQ(host.exitCode(), 0u);
    EXPECT_LT(host.events(Kind::Exit)[0].atMs - written, 2000.0);
    EXPECT_EQ(host.console(), contract::kStopReceived);
    EXPECT_TRUE(host.events(Kind::Notice).empty());
    EXPECT_EQ(host.mailboxText(), contract::kStopMarker);  // the marker is read, not taken
}

TEST(RelayStop, StopMarkerWinsOverACommandInTheSameText) {
    RelayCase c(L"stopfirst");
    c.installDownloader({"exit 0"});
    c.options.initialMailbox = L"youtube-dl -o x http://v " + std::wstring(contract::kStopMarker);
    HostSim& host = c.start();
    ASSERT_TRUE(host.waitForExit(10000));
    EXPECT_EQ(host.exitCode(), 0u);
    EXPECT_EQ(host.console(), contract::kStopReceived);
    EXPECT_TRUE(c.standin().empty()) << "no downloader is started";
    EXPECT_EQ(host.mailboxText(), L"youtube-dl -o x http://v " + std::wstring(contract::kStopMarker));
}

TEST(RelayStop, StopMarkerDuringAJobEndsTheRelayAndLeavesTheDownloader) {
    RelayCase c(L"stopjob");
    c.installDownloader({c.lockstep(), writeOf("[download] started\n"), "sleep 60000"});
    HostSim& host = c.start();
    host.writeMailbox(L"youtube-dl -o x http://v");
    ASSERT_TRUE(host.waitForCount(Kind::CopyData, 1, kJobTimeoutMs));
    const double written = host.nowMs();
    host.writeMailbox(contract::kStopMarker);
    ASSERT_TRUE(host.waitForExit(10000));
    EXPECT_EQ(host.exitCode(), 0u);
    // The main thread sees it within a poll, although the worker is blocked in its read.
    EXPECT_LT(host.events(Kind::Exit)[0].atMs - written, 2000.0);
    EXPECT_EQ(host.console(), "[download] started\r\n" + contract::kStopReceived);
    const auto notices = host.events(Kind::Notice);
    ASSERT_EQ(notices.size(), 1u);  // first data only: a stop posts no end-of-data notice
    EXPECT_EQ(notices[0].wParam, contract::kFirstData);
    const DWORD child = c.standinProcessId();
    ASSERT_NE(child, 0u);
    EXPECT_TRUE(c.standinAlive(child)) << "the downloader is not terminated";
}

TEST(RelayStop, StopMarkerWhileTheOutputIsBlockedEndsTheRelay) {
    RelayCase c(L"stopblocked");
    ASSERT_TRUE(startWithOutputBlocked(c)) << "the relay's output never blocked";
    HostSim& host = c.host();
    const double written = host.nowMs();
    host.writeMailbox(contract::kStopMarker);
    ASSERT_TRUE(host.waitForExit(10000)) << "the relay waits on its blocked output";
    EXPECT_EQ(host.exitCode(), 0u);
    EXPECT_LT(host.events(Kind::Exit)[0].atMs - written, 2000.0);
    EXPECT_EQ(host.events(Kind::Notice).size(), 1u);  // a stop posts no end-of-data notice
}

TEST(RelayHostGone, HostThatNeverWritesAndClosesItsWindowEndsTheRelay) {
    RelayCase c(L"gonewait");
    HostSim& host = c.start();
    Sleep(2500);
    ASSERT_FALSE(host.exited()) << "the relay keeps polling while the host is there";
    const double closed = host.nowMs();
    host.closeWindow();
    ASSERT_TRUE(host.waitForExit(10000));
    EXPECT_EQ(host.exitCode(), 0u);
    EXPECT_LT(host.events(Kind::Exit)[0].atMs - closed, 2000.0);
    EXPECT_EQ(host.console(), "");
    EXPECT_TRUE(host.events(Kind::Notice).empty());
}

TEST(RelayHostGone, HostClosingDuringAJobEndsTheRelayAndLeavesTheDownloader) {
    RelayCase c(L"gonejob");
    c.installDownloader({c.lockstep(), writeOf("[download] started\n"), "sleep 60000"});
    HostSim& host = c.start();
    host.writeMailbox(L"youtube-dl -o x http://v");
    ASSERT_TRUE(host.waitForCount(Kind::CopyData, 1, kJobTimeoutMs));
    const double closed = host.nowMs();
    host.closeWindow();
    ASSERT_TRUE(host.waitForExit(10000));
    EXPECT_EQ(host.exitCode(), 0u);
    EXPECT_LT(host.events(Kind::Exit)[0].atMs - closed, 2000.0);
    EXPECT_EQ(host.console(), "[download] started\r\n");
    EXPECT_EQ(host.events(Kind::Notice).size(), 1u);
    const DWORD child = c.standinProcessId();
    ASSERT_NE(child, 0u);
    EXPECT_TRUE(c.standinAlive(child));
}

TEST(RelayHostGone, HostClosingWhileTheOutputIsBlockedEndsTheRelay) {
    RelayCase c(L"goneblocked");
    ASSERT_TRUE(startWithOutputBlocked(c)) << "the relay's output never blocked";
    HostSim& host = c.host();
    const double closed = host.nowMs();
    host.closeWindow();
    ASSERT_TRUE(host.waitForExit(10000)) << "the relay outlives its host";
    EXPECT_EQ(host.exitCode(), 0u);
    EXPECT_LT(host.events(Kind::Exit)[0].atMs - closed, 2000.0);
}

TEST(RelayMissingDownloader, ReportsTheFailedStartAndEndsTheJob) {
    RelayCase c(L"nodl");  // no youtube-dl.exe in the downloader folder
    HostSim& host = c.start();
    host.writeMailbox(L"youtube-dl -o x http://v");
    ASSERT_TRUE(host.waitForExit(kJobTimeoutMs));
    EXPECT_EQ(host.exitCode(), 0u);
    const auto boxes = host.events(Kind::Box);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"velvoxdl message");
    EXPECT_EQ(boxes[0].text, L"Error CreateChildProcess");
    const auto notices = host.events(Kind::Notice);
    ASSERT_EQ(notices.size(), 1u);  // no first data, only its end
    EXPECT_EQ(notices[0].wParam, contract::kEndOfData);
    EXPECT_EQ(notices[0].lParam, c.options.jobNumber);
    EXPECT_GT(notices[0].atMs, boxes[0].atMs);
    EXPECT_TRUE(host.events(Kind::CopyData).empty());
    EXPECT_EQ(host.console(), contract::kExitNoData);
    EXPECT_EQ(host.mailboxText(), L"");
}
