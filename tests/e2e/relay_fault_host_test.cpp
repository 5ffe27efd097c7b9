// The host fails outright in the middle of a job: its process is killed, or its window stops
// answering and then its process is killed. hostsim.exe plays the host in a process of its own
// here, so that it can die without the test; the relay must notice within the watcher's second
// and end with 0, whatever it was doing. (A host that closes its window in good order is in
// relay_stop_test.cpp.)
#include <gtest/gtest.h>

#include "paths.h"
#include "process_run.h"
#include "relay_case.h"

namespace {

// The watcher looks once a second; the rest is slack for a loaded machine.
constexpr double kWatcherMs = 2000;

// hostsim.exe running one job of `c` in its own process; the relay and the downloader stay in
// the test's job, so they outlive a killed host and are ended with the test.
class SeparateHost {
public:
    SeparateHost(const RelayCase& c, size_t hangOnLine) {
        std::wstring arguments = L"--host " + std::to_wstring(c.options.hostNumber) + L" --job " +
                                 std::to_wstring(c.options.jobNumber) + L" --folder " +
                                 quoteArg(c.downloaderFolder) + L" --no-job --command " +
                                 quoteArg(kCommand);
        if (hangOnLine > 0) arguments += L" --hang-on-line " + std::to_wstring(hangOnLine);
        started_ = program_.start(builtProgram(L"hostsim.exe"), arguments);
    }

    // The relay as hostsim started it, opened so that its exit code stays readable.
    bool openRelay(DWORD timeoutMs) {
        if (!started_ || !program_.waitForOutput("relay started, process id ", timeoutMs)) return false;
        const std::string out = program_.output();
        const size_t at = out.find("relay started, process id ") + 26;
        relayId_ = static_cast<DWORD>(std::stoul(out.substr(at)));
        relay_.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, relayId_));
        return static_cast<bool>(relay_);
    }

    bool waitForOutput(const std::string& text, DWORD timeoutMs) { return program_.waitForOutput(text, timeoutMs); }
    bool waitForLine(const std::string& shown, DWORD timeoutMs) { return waitForOutput("line   \"" + shown + "\"", timeoutMs); }

    // Kills the host; success when the relay then ends with 0 within the watcher's time.
    ::testing::AssertionResult killEndsTheRelay() {
        if (!program_.kill()) return ::testing::AssertionFailure() << "the host could not be killed";
        const ULONGLONG killed = GetTickCount64();
        if (WaitForSingleObject(relay_.get(), 10000) != WAIT_OBJECT_0)
            return ::testing::AssertionFailure() << "the relay did not end within 10 s of its host's death";
        const double took = double(GetTickCount64() - killed);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(relay_.get(), &code);
        if (code != 0) return ::testing::AssertionFailure() << "the relay ended with exit code " << code;
        if (took >= kWatcherMs)
            return ::testing::AssertionFailure() << "the relay ended " << took << " ms after its host, not within " << kWatcherMs;
        return ::testing::AssertionSuccess();
    }

    bool relayRunning() const { return WaitForSingleObject(relay_.get(), 0) == WAIT_TIMEOUT; }
    std::string output() const { return program_.output(); }

private:
    LiveProgram program_;  // its end takes the relay and the downloader along
    bool started_ = false;
    DWORD relayId_ = 0;
    UniqueHandle relay_;
};

}  // namespace

TEST(RelayFaultHost, KilledHostEndsTheRelayWithinTheWatchersSecond) {
    RelayCase c(L"hostkilled");
    c.installDownloader({c.lockstep(), writeOf("[download] one\n"), writeOf("[download] two\n"), "sleep 600000"});
    SeparateHost host(c, 0);
    ASSERT_TRUE(host.openRelay(kJobTimeoutMs)) << host.output();
    ASSERT_TRUE(host.waitForLine("[download] two", kJobTimeoutMs)) << host.output();
    const DWORD downloader = c.standinProcessId();
    ASSERT_NE(downloader, 0u);
    // The relay is in the middle of its job: its worker waits in a read of the pipe.
    Sleep(500);
    ASSERT_TRUE(host.relayRunning());

    ASSERT_TRUE(host.killEndsTheRelay());
    EXPECT_TRUE(c.standinAlive(downloader)) << "the downloader is not the relay's to end";
    EXPECT_NE(host.output().find("notice " + std::to_string(contract::kFirstData)), std::string::npos);
    EXPECT_EQ(host.output().find("notice " + std::to_string(contract::kEndOfData)), std::string::npos) << "the job never reached its end";
    EXPECT_TRUE(c.endStandin(downloader));
}

TEST(RelayFaultHost, KilledHostEndsTheRelayWhileTheDownloaderFloods) {
    RelayCase c(L"hostkilledflood");
    // Far more than gets through before the kill: the worker is busy reading, echoing and
    // sending when the host dies.
    c.installDownloader({"stream 7 1073741824 65536 00"});
    SeparateHost host(c, 0);
    ASSERT_TRUE(host.openRelay(kJobTimeoutMs)) << host.output();
    ASSERT_TRUE(host.waitForOutput("notice " + std::to_string(contract::kFirstData), kJobTimeoutMs));
    Sleep(3000);  // past the first-data pause, into the flood
    ASSERT_TRUE(host.relayRunning());
    const DWORD downloader = c.standinProcessId();

    ASSERT_TRUE(host.killEndsTheRelay());
    c.endStandin(downloader);
}

TEST(RelayFaultHost, HungHostHoldsTheRelayUntilItsProcessIsKilled) {
    RelayCase c(L"hosthung");
    c.installDownloader({c.lockstep(), writeOf("one\n"), writeOf("two\n"), writeOf("three\n"), "sleep 600000"});
    // The window stops answering inside the second line relay message.
    SeparateHost host(c, 2);
    ASSERT_TRUE(host.openRelay(kJobTimeoutMs)) << host.output();
    ASSERT_TRUE(host.waitForLine("two", kJobTimeoutMs)) << host.output();
    // The relay waits on its host (its messages have no time-out) rather than ending or going on
    // without it: the window is still there.
    Sleep(3000);
    EXPECT_TRUE(host.relayRunning());
    EXPECT_EQ(host.output().find("line   \"three\""), std::string::npos);
    const DWORD downloader = c.standinProcessId();

    ASSERT_TRUE(host.killEndsTheRelay()) << "the relay hung with its host";
    EXPECT_TRUE(c.endStandin(downloader));
}

TEST(RelayFaultHost, StopMarkerEndsTheRelayWhileItsHostHangs) {
    RelayCase c(L"hunghoststop");
    c.installDownloader({c.lockstep(), writeOf("one\n"), writeOf("two\n"), "sleep 600000"});
    c.options.hangOnLine = 1;
    HostSim& host = c.startJob();
    ASSERT_TRUE(host.waitForCount(Kind::CopyData, 1, kJobTimeoutMs));
    Sleep(1500);
    ASSERT_FALSE(host.exited());
    // The worker is stuck in its message to the host; the main thread still polls the mailbox.
    ASSERT_TRUE(c.endsWithin(Ending::StopMarker, kWatcherMs));
    EXPECT_EQ(host.console(), "one\r\n" + contract::kStopReceived);
    EXPECT_EQ(relayedLines(host), std::vector<std::wstring>{L"one"});
    EXPECT_TRUE(c.noticesWere(Notices::FirstData));
    EXPECT_EQ(host.mailboxText(), contract::kStopMarker);  // read, not taken
}
