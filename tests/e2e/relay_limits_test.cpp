// Inputs at and past the contract's limits: the relay stays within its buffers and loses nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "paths.h"
#include "relay_case.h"

TEST(RelayLimits, FullMailboxWithoutNulIsReadWithinItsView) {
    RelayCase c(L"fullbox");
    c.installDownloader({"exit 0"});
    c.options.mailboxBytes = 8192;  // the host's mapping goes on past the relay's 4096-byte view
    HostSim& host = c.start();
    std::wstring units = L"youtube-dl -o ";
    while (units.size() < 2048) units += L'a';
    // What lies past the view must not count: a stop marker there is not the relay's to see.
    host.writeMailboxUnits(contract::kStopMarker, 2048);
    host.writeMailboxUnits(units);
    ASSERT_TRUE(c.ended());
    EXPECT_EQ(standinValues(c.standin(), L"commandline"), std::vector<std::wstring>{units.substr(10)});
    EXPECT_EQ(host.mailboxUnits(1), std::wstring(1, L'\0'));
    EXPECT_TRUE(c.noticesWere(Notices::EndOfData));  // the job ran to its end
    EXPECT_EQ(host.console(), contract::kExitNoData);
}

TEST(RelayLimits, StopMarkerInTheLastUnitsOfAFullMailboxIsSeen) {
    RelayCase c(L"fullstop");
    c.options.mailboxBytes = 8192;
    HostSim& host = c.start();
    std::wstring units(2048 - 7, L'x');
    units += contract::kStopMarker;
    host.writeMailboxUnits(units);
    ASSERT_TRUE(c.ended(10000));
    EXPECT_EQ(host.console(), contract::kStopReceived);
    EXPECT_TRUE(c.noticesWere(Notices::None));
}

TEST(RelayLimits, CommandLongerThan999CharactersReachesTheChildWhole) {
    RelayCase c(L"longcmd");
    c.installDownloader({"exit 0"});
    // 2000 characters: twice what the host promises, and still within the mailbox.
    std::wstring arguments = L" -o \"%(title)s.%(ext)s\"";
    for (int i = 0; arguments.size() < 2000; ++i) arguments += L" http://videos.invalid/watch?v=" + std::to_wstring(i);
    arguments.resize(2000);
    ASSERT_TRUE(c.runJob(L"youtube-dl" + arguments));
    EXPECT_EQ(standinValues(c.standin(), L"commandline"), std::vector<std::wstring>{arguments});
    EXPECT_TRUE(c.noticesWere(Notices::EndOfData));
}

TEST(RelayLimits, TextWithABlankButNoDashOIsLeftInTheMailbox) {
    RelayCase c(L"nodasho");
    c.installDownloader({"exit 0"});
    HostSim& host = c.startJob(L"hello world");
    Sleep(2500);
    EXPECT_FALSE(host.exited()) << "the relay goes on polling";
    EXPECT_EQ(host.mailboxText(), L"hello world");
    EXPECT_TRUE(c.standin().empty()) << "nothing is started";
    // A real command afterwards is taken as usual.
    host.writeMailbox(kCommand);
    ASSERT_TRUE(c.ended());
    EXPECT_EQ(standinValues(c.standin(), L"commandline"), std::vector<std::wstring>{L" -o x http://v"});
    EXPECT_TRUE(c.noticesWere(Notices::EndOfData));
}

TEST(RelayLimits, FurtherCommandWhileAWorkerRunsStaysInTheMailbox) {
    RelayCase c(L"second");
    c.installDownloader({c.lockstep(), writeOf("one\n"), "sleep 3000", writeOf("two\n")});
    HostSim& host = c.startJob(L"youtube-dl -o first http://v1");
    ASSERT_TRUE(host.waitForCount(Kind::CopyData, 1, kJobTimeoutMs));
    host.writeMailbox(L"youtube-dl -o second http://v2");
    ASSERT_TRUE(c.ended());
    EXPECT_EQ(host.mailboxText(), L"youtube-dl -o second http://v2");
    const StandinRecord record = c.standin();
    EXPECT_EQ(standinValues(record, L"commandline"), std::vector<std::wstring>{L" -o first http://v1"});
    EXPECT_EQ(relayedLines(host), (std::vector<std::wstring>{L"one", L"two"}));
    EXPECT_TRUE(c.noticesWere(Notices::Both));
}

TEST(RelayLimits, FullReadsOf4096BytesAreRelayedExactly) {
    RelayCase c(L"fullread");
    std::string full(4095, 'A');
    full += 'Z';
    std::string withBreak(4096, 'b');
    withBreak[100] = '\n';
    c.installDownloader({c.lockstep(), writeOf(full), writeOf(withBreak), writeOf("tail\n")});
    ASSERT_TRUE(c.runJob());
    EXPECT_EQ(relayedLines(c.host()),
              (std::vector<std::wstring>{unitsOf(full), std::wstring(100, L'b'), std::wstring(3995, L'b'), L"tail"}));
    const std::string piped = full + withBreak + "tail\n";
    EXPECT_EQ(c.host().console(), withCrLf(piped) + contract::kExitNoData);
    EXPECT_TRUE(c.noticesWere(Notices::Both));
}

TEST(RelayLimits, AFullReadGoesWholeIntoTheListFile) {
    RelayCase c(L"fullreadlist");
    // 4096 bytes make 42 entries of at most 99 units; with the tail that stays within 50, so the
    // list keeps the output as it came rather than the sorted copy.
    std::string full(4095, 'A');
    full += 'Z';
    c.installDownloader({c.lockstep(), writeOf(full), writeOf("tail\n")});
    c.options.sitesMode = L"1";
    ASSERT_TRUE(c.runJob());
    EXPECT_EQ(readFileBytes(c.listPath()), withCrLf(full + "tail\n"));
    EXPECT_TRUE(c.noticesWere(Notices::Both));
}

TEST(RelayLimits, ListFileStaysWithTheWorkerWhenTheHostGoesAway) {
    RelayCase c(L"listgone");
    // Output keeps coming after the host window has closed.
    std::vector<std::string> script;
    for (int i = 0; i < 60; ++i) {
        const std::string line = "site " + std::to_string(i) + "\n";
        script.push_back(writeOf(line));
        script.push_back("sleep 50");
    }
    c.installDownloader(script);
    // Verbose: should the loop see the host gone before the watcher does, start-up's finish step
    // then waits for a key while the worker goes on writing, until the watcher ends the process.
    c.options.verbose = L"1";
    HostSim& host = c.startSites();
    ASSERT_TRUE(host.waitForCount(Kind::CopyData, 1, kJobTimeoutMs));
    host.closeWindow();
    ASSERT_TRUE(c.ended(10000));
    // Everything the relay echoed is in the list file, bar at most the chunk it was writing when
    // the process ended.
    std::string echoed = host.console();
    echoed.erase(0, echoed.find('\n') + 1);  // the verbose command line
    const std::string listed = readFileBytes(c.listPath());
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(echoed.compare(0, listed.size(), listed), 0) << "the list holds what was echoed, in order";
    const std::string rest = echoed.substr(listed.size() < echoed.size() ? listed.size() : echoed.size());
    EXPECT_LE(std::count(rest.begin(), rest.end(), '\n'), 1) << "unlisted: " << rest;
}

TEST(RelayLimits, DownloaderFolderLongerThan240CharactersIsUsedWhole) {
    RelayCase c(L"deep");
    // 244 characters: the downloader path is 259, past 255 but within what the system starts
    // programs from; the list file path is 275.
    std::wstring folder = c.dir.path();
    const size_t needed = 244 - folder.size();  // in parts of a backslash and up to 100 letters
    const size_t parts = (needed + 100) / 101;
    for (size_t i = 0; i < parts; ++i) {
        const size_t letters = needed / parts - 1 + (i < needed % parts ? 1 : 0);
        folder += L"\\" + std::wstring(letters, L'd');
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    }
    ASSERT_EQ(folder.size(), 244u);
    c.installDownloader({c.lockstep(), writeOf("from deep down\n")}, folder);
    c.options.downloaderFolder = folder;
    c.options.sitesMode = L"1";
    c.options.verbose = L"1";
    HostSim& host = c.startJob();
    ASSERT_TRUE(host.waitForCount(HostEvent::Kind::Notice, 2, kJobTimeoutMs));
    ASSERT_TRUE(HostSim::typeKey(L'q'));
    ASSERT_TRUE(c.ended(10000));
    EXPECT_TRUE(c.noticesWere(Notices::Both));
    EXPECT_EQ(standinValues(c.standin(folder), L"module"), std::vector<std::wstring>{folder + L"\\youtube-dl.exe"});
    EXPECT_EQ(host.console(), toUtf8(folder) + "\\youtube-dl.exe  -o x http://v\r\nfrom deep down\r\n" + contract::kExitNoData);
    EXPECT_EQ(readFileBytes(c.listPath(folder)), "from deep down\r\n");
    EXPECT_EQ(relayedLines(host), std::vector<std::wstring>{L"from deep down"});
}

TEST(RelayLimits, ListFileGetsTheDownloadersOwnBytesBack) {
    if (GetACP() != 1252) GTEST_SKIP() << "written for the Western European ANSI code page";
    RelayCase c(L"ansi");
    // 0x80 and 0x9F are the euro sign and Y with diaeresis in this code page (units above 255);
    // 0x81 has no character and comes through as U+0081.
    const std::string bytes = "caf\xE9 \x80 \x9F \x81 \xFF end\n";
    c.installDownloader({c.lockstep(), writeOf(bytes)});
    ASSERT_TRUE(c.runSites());
    EXPECT_EQ(readFileBytes(c.listPath()), withCrLf(bytes));
    EXPECT_EQ(relayedLines(c.host()), std::vector<std::wstring>{L"caf\u00E9 \u20AC \u0178 \u0081 \u00FF end"});
    EXPECT_TRUE(c.noticesWere(Notices::Both));
}
