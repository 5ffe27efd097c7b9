// Many hosts at once, each with its own relay: nothing of one job reaches another.
#include <gtest/gtest.h>

#include <memory>

#include "relay_case.h"

TEST(RelayFaultParallel, EightRelaysForEightHostsKeepTheirJobsApart) {
    constexpr int kRelays = 8;
    constexpr int kLines = 5;
    const DWORD pid = GetCurrentProcessId();
    std::vector<std::unique_ptr<RelayCase>> cases;
    for (int i = 0; i < kRelays; ++i) {
        auto c = std::make_unique<RelayCase>(L"eight" + std::to_wstring(i));
        // Apart from each other and from the host numbers of other tests (their process ids).
        c->setNumbers(static_cast<int32_t>(1000000 + pid * kRelays + i), 700 + i);
        std::vector<std::string> script = {c->lockstep()};
        for (int k = 1; k <= kLines; ++k) {
            script.push_back(writeOf("job " + std::to_string(c->options.jobNumber) + " line " + std::to_string(k) + "\n"));
            script.push_back("sleep 100");
        }
        c->installDownloader(script);
        cases.push_back(std::move(c));
    }
    for (auto& c : cases) c->startJob(L"youtube-dl -o job" + std::to_wstring(c->options.jobNumber) + L".mp4 http://v");
    for (auto& c : cases) ASSERT_TRUE(c->ended(60000)) << "job " << c->options.jobNumber;

    for (auto& c : cases) {
        const int32_t job = c->options.jobNumber;
        SCOPED_TRACE(job);
        HostSim& host = c->host();
        EXPECT_EQ(standinValues(c->standin(), L"commandline"),
                  std::vector<std::wstring>{L" -o job" + std::to_wstring(job) + L".mp4 http://v"});
        std::vector<std::wstring> lines;
        std::string echo;
        for (int k = 1; k <= kLines; ++k) {
            lines.push_back(L"job " + std::to_wstring(job) + L" line " + std::to_wstring(k));
            echo += "job " + std::to_string(job) + " line " + std::to_string(k) + "\r\n";
        }
        EXPECT_EQ(relayedLines(host), lines);
        EXPECT_EQ(host.console(), echo + contract::kExitNoData);
        EXPECT_TRUE(c->noticesWere(Notices::Both));
    }
}
