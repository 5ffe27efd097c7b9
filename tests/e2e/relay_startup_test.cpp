// Start-up: what the relay does before its first poll, and each start-up failure it can meet.
#include <gtest/gtest.h>

#include "paths.h"
#include "relay_case.h"

TEST(RelayStartup, FewerThanSixArgumentsEndQuietly) {
    RelayCase c(L"args");
    std::vector<std::wstring> five = relayArguments(c.options);
    five.pop_back();
    c.options.arguments = five;
    HostSim& host = c.start();
    ASSERT_TRUE(c.ended(10000));
    EXPECT_EQ(host.console(), "");
    EXPECT_TRUE(c.boxesWere({}));
    EXPECT_FALSE(fileExists(c.listPath()));  // it never got as far as the list file
}

TEST(RelayStartup, WithoutTheHostWindowItEndsQuietlyAndDoesNotComeBack) {
    RelayCase c(L"nowindow");
    c.options.createWindow = false;
    HostSim& host = c.start();
    ASSERT_TRUE(c.ended(10000));
    // Two quick looks, no waiting in between.
    EXPECT_LT(host.events(Kind::Exit)[0].atMs, 3000.0);
    EXPECT_EQ(host.console(), "");
    EXPECT_FALSE(fileExists(c.listPath()));
    // A window that appears afterwards finds no relay.
    host.openWindowLate();
    host.writeMailbox(kCommand);
    Sleep(1500);
    EXPECT_EQ(host.mailboxText(), kCommand);
    EXPECT_TRUE(c.noticesWere(Notices::None));
}

TEST(RelayStartup, SetsTheConsoleTitleAndEmptiesTheListFileThenWaits) {
    RelayCase c(L"title");
    ASSERT_TRUE(writeFileBytes(c.listPath(), "kept from an earlier run\r\n"));
    HostSim& host = c.start();
    Sleep(2500);
    EXPECT_FALSE(host.exited());
    EXPECT_EQ(HostSim::consoleTitle(), contract::consoleTitle(c.options.hostNumber, c.options.jobNumber));
    EXPECT_TRUE(fileExists(c.listPath()));
    EXPECT_EQ(readFileBytes(c.listPath()), "");
    host.closeWindow();
    ASSERT_TRUE(c.ended(10000));
    EXPECT_TRUE(c.boxesWere({}));
    EXPECT_TRUE(c.noticesWere(Notices::None));
}

TEST(RelayStartup, MissingMailboxShowsBothBoxesAndEnds) {
    RelayCase c(L"nomap");
    c.options.mailbox = MailboxKind::None;
    HostSim& host = c.start();
    ASSERT_TRUE(c.ended(15000));
    EXPECT_TRUE(c.boxesWere({{L"Velvox", L"Error maping file"},
                             {L"velvoxdl message", L"Map file not allowed by system. Cannot continue"}}));
    EXPECT_EQ(host.console(), "");
    EXPECT_TRUE(c.noticesWere(Notices::None));
    EXPECT_FALSE(fileExists(c.listPath()));
}

TEST(RelayStartup, UnmappableMailboxShowsCannotMapFileAndEnds) {
    RelayCase c(L"nomapview");
    c.options.mailbox = MailboxKind::SmallFile;
    HostSim& host = c.start();
    ASSERT_TRUE(c.ended(15000));
    // "Error" is the system's own caption: the relay passes none.
    EXPECT_TRUE(c.boxesWere({{L"Error", L"Cannot map file"}}));
    EXPECT_EQ(host.console(), "");
    EXPECT_TRUE(c.noticesWere(Notices::None));
    EXPECT_FALSE(fileExists(c.listPath()));
}

TEST(RelayStartup, NumbersAreReadUpToTheirFirstNonDigit) {
    RelayCase c(L"numbers");
    c.options.jobNumber = 12;
    c.installDownloader({c.lockstep(), writeOf("sites would go here\n")});
    // Job "12abc" is 12; verbose "on" and sites mode "yes" have no digits, so both are off.
    c.options.arguments = {L"12abc", c.downloaderFolder, L"on", L"ignored", L" +" + std::to_wstring(c.options.hostNumber) + L"x",
                           L"yes"};
    ASSERT_TRUE(c.runJob());  // not verbose: no key is waited for
    EXPECT_TRUE(c.noticesWere(Notices::Both));  // the end-of-data notice carries job 12
    EXPECT_EQ(HostSim::consoleTitle(), contract::consoleTitle(c.options.hostNumber, 12));
    EXPECT_EQ(c.host().console(), "sites would go here\r\n" + contract::kExitNoData);  // no verbose line
    EXPECT_EQ(readFileBytes(c.listPath()), "");                                    // no sites mode
}

TEST(RelayStartup, HostNumberWithoutDigitsIsZero) {
    RelayCase c(L"host0");
    c.options.hostNumber = 0;
    c.options.arguments = relayArguments(c.options);
    c.options.arguments[4] = L"none";
    ASSERT_TRUE(c.runJob(contract::kStopMarker, 10000));
    EXPECT_EQ(HostSim::consoleTitle(), contract::consoleTitle(0, c.options.jobNumber));
    EXPECT_EQ(c.host().console(), contract::kStopReceived);
    EXPECT_TRUE(c.noticesWere(Notices::None));
}

TEST(RelayStartup, VerboseRunPrintsTheChildsCommandAndWaitsForAKey) {
    RelayCase c(L"verbose");
    c.installDownloader({c.lockstep(), writeOf("done\n")});
    c.options.verbose = L"1";
    c.options.downloaderFolder = c.downloaderFolder + L"\\";  // one trailing backslash is dropped
    HostSim& host = c.startJob();
    ASSERT_TRUE(host.waitForCount(Kind::Notice, 2, kJobTimeoutMs));
    Sleep(3000);
    EXPECT_FALSE(host.exited()) << "a verbose run ends only after a key press";
    ASSERT_TRUE(HostSim::typeKey(L'x'));
    ASSERT_TRUE(c.ended(10000));
    EXPECT_TRUE(c.noticesWere(Notices::Both));
    EXPECT_EQ(host.console(), toUtf8(c.downloaderFolder) + "\\youtube-dl.exe  -o x http://v\r\ndone\r\n" + contract::kExitNoData);
}

TEST(RelayStartup, OnlyOneOfTwoTrailingBackslashesIsDropped) {
    RelayCase c(L"backslashes");
    c.installDownloader({"exit 0"});
    c.options.verbose = L"7";
    c.options.downloaderFolder = c.downloaderFolder + L"\\\\";
    HostSim& host = c.startJob(L"get -o y");
    ASSERT_TRUE(host.waitForCount(Kind::Notice, 1, kJobTimeoutMs));
    ASSERT_TRUE(HostSim::typeKey(L' '));
    ASSERT_TRUE(c.ended(10000));
    EXPECT_TRUE(c.noticesWere(Notices::EndOfData));
    EXPECT_EQ(host.console(), toUtf8(c.downloaderFolder) + "\\\\youtube-dl.exe  -o y\r\n" + contract::kExitNoData);
    EXPECT_EQ(standinValues(c.standin(), L"start").size(), 1u);  // the path still leads to the child
}
