// The host cancels: the stop marker in the mailbox, or its window closing.
#include <gtest/gtest.h>

#include "relay_case.h"

TEST(RelayStop, StopMarkerWhileWaitingEndsTheRelayAtTheNextPoll) {
    RelayCase c(L"stopwait");
    HostSim& host = c.start();
    Sleep(1500);
    ASSERT_FALSE(host.exited());
    const double written = host.nowMs();
    host.writeMailbox(L"_STOP__");
    ASSERT_TRUE(host.waitForExit(10000));
    EXPECT_EQ(host.exitCode(), 0u);
    EXPECT_LT(host.events(Kind::Exit)[0].atMs - written, 2000.0);
    EXPECT_EQ(host.console(), "\r\nRECEIVED STOP. Closing...");
    EXPECT_TRUE(host.events(Kind::Notice).empty());
    EXPECT_EQ(host.mailboxText(), L"_STOP__");  // the marker is read, not taken
}

TEST(RelayStop, StopMarkerWinsOverACommandInTheSameText) {
    RelayCase c(L"stopfirst");
    c.installDownloader({"exit 0"});
    c.options.initialMailbox = L"youtube-dl -o x http://v _STOP__";
    HostSim& host = c.start();
    ASSERT_TRUE(host.waitForExit(10000));
    EXPECT_EQ(host.exitCode(), 0u);
    EXPECT_EQ(host.console(), "\r\nRECEIVED STOP. Closing...");
    EXPECT_TRUE(c.standin().empty()) << "no downloader is started";
    EXPECT_EQ(host.mailboxText(), L"youtube-dl -o x http://v _STOP__");
}

TEST(RelayStop, StopMarkerDuringAJobEndsTheRelayAndLeavesTheDownloader) {
    RelayCase c(L"stopjob");
    c.installDownloader({c.lockstep(), writeOf("[download] started\n"), "sleep 60000"});
    HostSim& host = c.start();
    host.writeMailbox(L"youtube-dl -o x http://v");
    ASSERT_TRUE(host.waitForCount(Kind::CopyData, 1, kJobTimeoutMs));
    const double written = host.nowMs();
    host.writeMailbox(L"_STOP__");
    ASSERT_TRUE(host.waitForExit(10000));
    EXPECT_EQ(host.exitCode(), 0u);
    // The main thread sees it within a poll, although the worker is blocked in its read.
    EXPECT_LT(host.events(Kind::Exit)[0].atMs - written, 2000.0);
    EXPECT_EQ(host.console(), "[download] started\r\n\r\nRECEIVED STOP. Closing...");
    const auto notices = host.events(Kind::Notice);
    ASSERT_EQ(notices.size(), 1u);  // first data only: a stop posts no end-of-data notice
    EXPECT_EQ(notices[0].wParam, 701u);
    const DWORD child = c.standinProcessId();
    ASSERT_NE(child, 0u);
    EXPECT_TRUE(c.standinAlive(child)) << "the downloader is not terminated";
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
    EXPECT_EQ(notices[0].wParam, 77792u);
    EXPECT_EQ(notices[0].lParam, c.options.jobNumber);
    EXPECT_GT(notices[0].atMs, boxes[0].atMs);
    EXPECT_TRUE(host.events(Kind::CopyData).empty());
    EXPECT_EQ(host.console(), "\r\nEXIT NO DATA\r\n");
    EXPECT_EQ(host.mailboxText(), L"");
}
