// A host that keeps writing into the mailbox while a job runs. (A full mailbox without NUL and a
// command of 2000 characters are in relay_limits_test.cpp.)
#include <gtest/gtest.h>

#include "relay_case.h"

TEST(RelayFaultMailbox, MailboxRewrittenOverAndOverWhileAJobRuns) {
    RelayCase c(L"rewrite");
    std::vector<std::string> script = {c.lockstep()};
    std::vector<std::wstring> parts;
    std::string echo;
    for (int i = 1; i <= 6; ++i) {
        const std::string line = "part " + std::to_string(i) + "\n";
        script.push_back(writeOf(line));
        script.push_back("sleep 300");
        parts.push_back(L"part " + std::to_wstring(i));
        echo += withCrLf(line);
    }
    c.installDownloader(script);
    HostSim& host = c.startJob(L"youtube-dl -o first http://v1");
    ASSERT_TRUE(host.waitForCount(Kind::MailboxTaken, 1, kJobTimeoutMs));

    // From here to the end of the run the host scribbles over the mailbox without pause: other
    // commands, texts that are none, a full mailbox without NUL, the empty text. None is a stop.
    std::wstring full(2048, L'z');
    full.replace(100, 4, L" -o ");
    const std::vector<std::wstring> texts = {L"youtube-dl -o second http://v2", L"nothing", L"two words", L"",
                                             L" -o", L"get -o third"};
    size_t rewrites = 0;
    const ULONGLONG deadline = GetTickCount64() + kJobTimeoutMs;
    while (!host.exited() && GetTickCount64() < deadline) {
        const size_t k = rewrites++ % (texts.size() + 1);
        if (k == texts.size()) {
            host.writeMailboxUnits(full);
        } else {
            host.writeMailbox(texts[k]);
        }
        Sleep(1);
    }
    ASSERT_TRUE(c.ended(10000));
    EXPECT_GT(rewrites, 100u);

    // One child, with the command that was taken; its whole output; the job's own notices.
    const StandinRecord record = c.standin();
    EXPECT_EQ(standinValues(record, L"commandline"), std::vector<std::wstring>{L" -o first http://v1"});
    EXPECT_EQ(relayedLines(host), parts);
    EXPECT_TRUE(c.noticesWere(Notices::Both));
    EXPECT_EQ(host.console(), echo + contract::kExitNoData);
}
