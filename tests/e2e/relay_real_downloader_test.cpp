// The relay with the real downloader behind it: the machine's yt-dlp through the bridge built as
// youtube-dl.exe, downloading from a server of the test's own on 127.0.0.1.
#include <gtest/gtest.h>

#include "byte_stream.h"
#include "notepad_check.h"
#include "paths.h"
#include "process_find.h"
#include "process_run.h"
#include "relay_case.h"
#include "sites_expect.h"
#include "wait_until.h"

namespace {

constexpr DWORD kRealJobTimeoutMs = 90000;

class RelayRealDownloader : public ::testing::Test {
protected:
    RelayCase c{L"realdl"};
    std::wstring served = c.dir.file(L"www");

    void SetUp() override {
        ASSERT_TRUE(copyFileTo(builtProgram(L"bridge\\youtube-dl.exe"), c.downloaderFolder + L"\\youtube-dl.exe"));
        CreateDirectoryW(served.c_str(), nullptr);
    }
    void TearDown() override { endNotepadsOf(c.dir.path()); }

    // Serves `served` on a free port; the server ends when its port file goes with the folder.
    std::wstring serverUrl() {
        const std::wstring portFile = c.dir.file(L"port");
        EXPECT_TRUE(startUnixProgram(VELVOX_SERVE_SCRIPT, {fromUtf8(unixPath(served)), fromUtf8(unixPath(portFile)), L"300"}));
        std::string port;
        if (waitUntil([&] { return !(port = readFileBytes(portFile)).empty(); }, 20000)) {
            return L"http://127.0.0.1:" + fromUtf8(port);
        }
        ADD_FAILURE() << "the file server did not start";
        return {};
    }

    // The generated file, served as `name`.
    std::string serve(const std::wstring& name, size_t size) {
        const std::string bytes = ByteStream(1, {}).next(size);
        EXPECT_TRUE(writeFileBytes(served + L"\\" + name, bytes));
        return bytes;
    }
};

bool isProgressLine(const std::wstring& line) {
    const size_t at = line.find(L"[download] ");
    return at != std::wstring::npos && line.find(L"% of ", at) != std::wstring::npos;
}

}  // namespace

TEST_F(RelayRealDownloader, DownloadRelaysProgressLinesAndEndsWithTheEndOfDataNotice) {
    const std::string file = serve(L"clip.bin", 4 << 20);
    ASSERT_TRUE(c.runJob(L"youtube-dl -o clip.bin --limit-rate 400K " + serverUrl() + L"/clip.bin", kRealJobTimeoutMs));
    HostSim& host = c.host();
    EXPECT_TRUE(readFileBytes(c.workDir + L"\\clip.bin") == file) << "the downloaded file is not the served one";

    ASSERT_TRUE(c.noticesWere(Notices::Both));
    size_t notices = 0, progressLines = 0;
    for (const HostEvent& e : host.events()) {
        if (e.kind == Kind::Notice) ++notices;
        if (e.kind == Kind::CopyData && notices == 1 && isProgressLine(e.text)) ++progressLines;
    }
    EXPECT_GE(progressLines, 3u) << "progress should span several reads";

    // The echo holds every read, so every relayed line, in order, and the end of the download; the
    // relay's text-mode output makes the downloader's CR LF a CR CR LF.
    const std::string console = host.console();
    size_t at = 0;
    for (const std::wstring& line : relayedLines(host)) {
        const size_t found = console.find(toAnsi(line), at);
        ASSERT_NE(found, std::string::npos) << toUtf8(line);
        at = found + toAnsi(line).size();
    }
    EXPECT_NE(console.find("[download] Destination: clip.bin\r\r\n"), std::string::npos) << console;
    EXPECT_NE(console.find("[download] 100% of"), std::string::npos);
    EXPECT_EQ(console.substr(console.size() - contract::kExitNoData.size()), contract::kExitNoData);
}

TEST_F(RelayRealDownloader, FailingDownloadRelaysTheErrorLine) {
    // The 404 comes at once, during the relay's first-data pause. The error line tends to come in a
    // read of its own, the lines before it together in others: every line of the echo, each read's
    // included, must reach the host, whole and in order.
    ASSERT_TRUE(c.runJob(L"youtube-dl -o gone.bin " + serverUrl() + L"/gone.bin", kRealJobTimeoutMs));
    HostSim& host = c.host();
    std::vector<std::wstring> echoed, relayed = relayedLines(host);
    for (const std::string& line : crlfLines(host.console())) echoed.push_back(fromAnsi(line));
    relayed.insert(relayed.end(), {L"", L"EXIT NO DATA"});  // the relay's own closing line
    EXPECT_EQ(echoed, relayed);
    const auto events = host.events();
    auto error = std::find_if(events.begin(), events.end(), [](const HostEvent& e) {
        return e.kind == Kind::CopyData && e.text.rfind(L"ERROR:", 0) == 0;
    });
    ASSERT_NE(error, events.end()) << "no relayed ERROR: line in\n" << host.console();
    EXPECT_TRUE(c.noticesWere(Notices::Both));
    EXPECT_NE(std::find_if(error, events.end(), [](const HostEvent& e) { return e.kind == Kind::Notice; }), events.end())
        << "no end-of-data notice after the error";
}

TEST_F(RelayRealDownloader, SitesModeSortsTheRealListAndOpensNotepad) {
    // The downloader's own list, taken on the Unix side, as the Windows build would print it.
    const std::wstring listed = c.dir.file(L"extractors.txt");
    ASSERT_TRUE(startUnixProgram("/bin/sh", {L"-c", L"yt-dlp --list-extractors >\"$0.tmp\" && mv \"$0.tmp\" \"$0\"",
                                             fromUtf8(unixPath(listed))}));
    ASSERT_TRUE(c.runSites(kRealJobTimeoutMs));
    EXPECT_TRUE(c.noticesWere(Notices::Both));
    waitUntil([&] { return fileExists(listed); }, 20000);
    const std::string output = windowsPrinted(readFileBytes(listed));
    ASSERT_GT(std::count(output.begin(), output.end(), '\n'), 50);
    EXPECT_TRUE(readFileBytes(c.listPath()) == sortedCrlf(withCrLf(output))) << "the list is not the sorted output";
    EXPECT_FALSE(fileExists(c.sortedPath()));
    expectNotepadShowingList(c.dir.path(), c.listPath());
}

TEST_F(RelayRealDownloader, StopMarkerEndsTheRelayDuringASlowDownload) {
    serve(L"slow.bin", 4 << 20);
    const std::wstring url = serverUrl() + L"/slow.bin";
    HostSim& host = c.startJob(L"youtube-dl -o slow.bin --limit-rate 100K " + url);
    ASSERT_TRUE(host.waitForCount(Kind::CopyData, 2, kRealJobTimeoutMs));
    ASSERT_TRUE(c.endsWithin(Ending::StopMarker, 3000));
    EXPECT_TRUE(c.noticesWere(Notices::FirstData)) << "no end-of-data notice after a stop";
    EXPECT_EQ(host.mailboxText(), contract::kStopMarker);
    const std::string console = host.console();
    EXPECT_EQ(console.substr(console.size() - contract::kStopReceived.size()), contract::kStopReceived);
    // The relay does not stop its downloader: that ends at its next write, into a pipe that nobody
    // reads any more, long before the download would have.
    EXPECT_TRUE(waitUntil([&] { return findProcesses(L"youtube-dl.exe", url).empty(); }, 15000, 100));
}
