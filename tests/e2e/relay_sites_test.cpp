// Sites mode: the whole of the downloader's output goes into the list file as well.
#include <gtest/gtest.h>

#include "paths.h"
#include "relay_case.h"

TEST(RelaySites, EveryChunkGoesWholeIntoTheListFile) {
    RelayCase c(L"sites");
    const std::vector<std::string> writes = {"Youtube\nVimeo\n", "\narte.tv\n", std::string("abc\0ignored\n", 12), "zdf"};
    std::vector<std::string> script = {c.lockstep()};
    for (const std::string& w : writes) script.push_back(writeOf(w));
    c.installDownloader(script);
    c.options.sitesMode = L"1";
    HostSim& host = c.start();
    host.writeMailbox(L"youtube-dl -o x --list-extractors");
    ASSERT_TRUE(host.waitForExit(kJobTimeoutMs));
    EXPECT_EQ(host.exitCode(), 0u);
    // Lines after a chunk's first line feed are listed but not relayed; a NUL byte ends a chunk.
    EXPECT_EQ(readFileBytes(c.listPath()), "Youtube\r\nVimeo\r\n\r\narte.tv\r\nabczdf");
    EXPECT_EQ(relayedLines(host), (std::vector<std::wstring>{L"Youtube", L"", L"abc", L"zdf"}));
    EXPECT_EQ(host.console(), "Youtube\r\nVimeo\r\n\r\narte.tv\r\nabczdf\r\nEXIT NO DATA\r\n");
    const auto notices = host.events(HostEvent::Kind::Notice);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[1].wParam, 77792u);
}
