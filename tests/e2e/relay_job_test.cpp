// A whole download job: command in, output echoed and relayed line by line, notices out.
#include <gtest/gtest.h>

#include "paths.h"
#include "relay_case.h"

TEST(RelayJob, RunsAWholeJobFromCommandToEndOfData) {
    RelayCase job(L"job");
    const std::vector<std::string> writes = {
        "[youtube] abc: Downloading webpage\r\n",
        "\r[download]  12.5% of 10.00MiB at 1.00MiB/s ETA 00:09",
        "first\r\nsecond\r\n",
        "\nafter a leading line feed",
    };
    std::vector<std::string> script = {job.lockstep(), "stdin 300"};
    for (const std::string& w : writes) script.push_back(writeOf(w));
    job.installDownloader(script);
    // An old list from an earlier run is emptied even though this is no sites run.
    ASSERT_TRUE(writeFileBytes(job.listPath(), "old list\r\n"));

    ASSERT_TRUE(job.runJob(L"youtube-dl -o out.mp4 http://videos.invalid/v?id=1"));
    HostSim& host = job.host();

    // The child: its command line from the blank before -o, the relay's current folder and
    // console, and a standard input that ends at once.
    const StandinRecord record = job.standin();
    EXPECT_EQ(standinValues(record, L"start").size(), 1u);
    EXPECT_EQ(standinValues(record, L"commandline"), std::vector<std::wstring>{L" -o out.mp4 http://videos.invalid/v?id=1"});
    EXPECT_EQ(standinValues(record, L"currentdir"), std::vector<std::wstring>{job.workDir});
    EXPECT_EQ(standinValues(record, L"module"), std::vector<std::wstring>{job.downloaderFolder + L"\\youtube-dl.exe"});
    EXPECT_EQ(standinValues(record, L"consoletitle"),
              std::vector<std::wstring>{contract::consoleTitle(job.options.hostNumber, job.options.jobNumber)});
    EXPECT_EQ(standinValues(record, L"stdin"), std::vector<std::wstring>{L"ended"});

    // The command was taken: the mailbox holds the empty text.
    const auto taken = host.events(Kind::MailboxTaken);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].text, L"");
    EXPECT_EQ(host.mailboxUnits(1), std::wstring(1, L'\0'));

    // First data, then one line relay message per line of each read, then end of data.
    ASSERT_TRUE(job.noticesWere(Notices::Both));
    const auto n = host.events(Kind::Notice);

    const auto lines = host.events(Kind::CopyData);
    const std::vector<std::wstring> expected = {L"[youtube] abc: Downloading webpage\r",
                                                L"\r[download]  12.5% of 10.00MiB at 1.00MiB/s ETA 00:09",
                                                L"first\r", L"second\r", L"", L"after a leading line feed"};
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].wParam, contract::kLineRelay);
        EXPECT_EQ(lines[i].dwData, 0u);
        EXPECT_EQ(lines[i].cbData, expected[i].size() * 2);
        EXPECT_EQ(lines[i].text, expected[i]);
        EXPECT_GT(lines[i].atMs, n[0].atMs);
    }
    // The 2000 ms pause comes after the first-data notice and before the first relay.
    EXPECT_GE(lines[0].atMs - n[0].atMs, 1950.0);
    // The end-of-data notice comes about two seconds after the last read.
    EXPECT_GE(n[1].atMs - lines.back().atMs, 1900.0);
    EXPECT_LT(n[1].atMs - lines.back().atMs, 4000.0);

    // The echo: every byte, through the text-mode console stream, then the relay's own line.
    std::string echo;
    for (const std::string& w : writes) echo += withCrLf(w);
    EXPECT_EQ(host.console(), echo + contract::kExitNoData);

    EXPECT_TRUE(fileExists(job.listPath()));
    EXPECT_EQ(readFileBytes(job.listPath()), "");
}

TEST(RelayJob, ANulByteEndsTheChunkForEchoAndHost) {
    RelayCase job(L"nul");
    job.installDownloader({job.lockstep(), writeOf(std::string("abc\0def\n", 8)), writeOf("next\n")});
    ASSERT_TRUE(job.runJob());
    EXPECT_EQ(relayedLines(job.host()), (std::vector<std::wstring>{L"abc", L"next"}));
    EXPECT_EQ(job.host().console(), "abcnext\r\n" + contract::kExitNoData);
    EXPECT_TRUE(job.noticesWere(Notices::Both));
}

TEST(RelayJob, AChildWithoutOutputGetsOnlyTheEndOfDataNotice) {
    RelayCase job(L"silent");
    job.installDownloader({"exit 3"});
    ASSERT_TRUE(job.runJob());
    EXPECT_TRUE(job.noticesWere(Notices::EndOfData));
    EXPECT_TRUE(job.host().events(Kind::CopyData).empty());
    EXPECT_EQ(job.host().console(), contract::kExitNoData);
}

TEST(RelayJob, ReplaysARecordedDownloadOneLinePerWrite) {
    const Recording recording = parseRecording(readFileBytes(fixturePath(L"progress-recording.json")));
    ASSERT_TRUE(recording.ok);
    ASSERT_GT(recording.writes.size(), 10u);

    RelayCase job(L"replay");
    job.installDownloader({job.lockstep(), "replay " + toUtf8(fixturePath(L"progress-recording.json"))});
    ASSERT_TRUE(job.runJob(L"youtube-dl -o clip.mp4 http://127.0.0.1:18731/clip.mp4", kJobTimeoutMs + 10000));

    // A Windows build writes each LF as CR LF; the host gets each line of each write, CR kept.
    const RelayedRecording expected = relayedFor(recording);
    EXPECT_EQ(relayedLines(job.host()), expected.lines);
    EXPECT_EQ(job.host().console(), expected.echo + contract::kExitNoData);
    EXPECT_TRUE(job.noticesWere(Notices::Both));
}

TEST(RelayJob, MissingDownloaderIsReportedAndEndsTheJob) {
    RelayCase job(L"nodl");  // no youtube-dl.exe in the downloader folder
    ASSERT_TRUE(job.runJob());
    HostSim& host = job.host();
    ASSERT_TRUE(job.boxesWere({{L"velvoxdl message", L"Error CreateChildProcess"}}));
    ASSERT_TRUE(job.noticesWere(Notices::EndOfData));  // no first data, only its end
    EXPECT_GT(host.events(Kind::Notice)[0].atMs, host.events(Kind::Box)[0].atMs);
    EXPECT_TRUE(host.events(Kind::CopyData).empty());
    EXPECT_EQ(host.console(), contract::kExitNoData);
    EXPECT_EQ(host.mailboxText(), L"");
}
