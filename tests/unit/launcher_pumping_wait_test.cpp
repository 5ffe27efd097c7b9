// The pumping wait's timing rule, on a scripted clock and message queue, and start-up's wait
// for the host window, made of such waits.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "pumping_wait.h"

namespace {

const uint32_t kQuit = 0x0012;  // WM_QUIT

struct ScriptedPump : MessagePump {
    uint64_t now = 0;           // the true time, in ms
    uint32_t tickBase = 0;      // tick at time 0 (to place the wait near the wrap)
    uint32_t resolution = 1;    // the tick advances in steps of this many ms
    std::deque<uint32_t> queue;
    std::deque<std::pair<uint64_t, uint32_t>> arrivals;  // (time, message) posted later
    int dispatched = 0;
    int quitsPosted = 0;
    int sleeps = 0;
    uint64_t lastTickReadAt = 0;
    std::deque<uint32_t> ticksRead;

    void deliver() {
        while (!arrivals.empty() && arrivals.front().first <= now) {
            queue.push_back(arrivals.front().second);
            arrivals.pop_front();
        }
    }
    uint32_t tickCount() override {
        lastTickReadAt = now;
        ticksRead.push_back(tickBase + static_cast<uint32_t>(now / resolution * resolution));
        return ticksRead.back();
    }
    bool messageWaiting() override {
        deliver();
        return !queue.empty();
    }
    bool pumpMessage() override {
        deliver();
        uint32_t message = queue.front();
        queue.pop_front();
        if (message == kQuit) return false;
        ++dispatched;
        return true;
    }
    void postQuit() override { ++quitsPosted; }
    void sleep(uint32_t ms) override {
        ++sleeps;
        now += ms;
    }
};

}  // namespace

TEST(LauncherPumpingWait, LastsTheTimeAndOneMoreStep) {
    ScriptedPump pump;
    runPumpingWait(pump, 500);
    EXPECT_EQ(pump.now, 550u);
    EXPECT_EQ(pump.sleeps, 11);
    EXPECT_EQ(pump.quitsPosted, 0);
}

TEST(LauncherPumpingWait, EndsOneStepAfterTheTicksReachTheTimeWhateverTheirResolution) {
    for (uint32_t resolution : {1u, 10u, 15u, 16u, 55u, 100u}) {
        for (uint32_t ms : {0u, 1u, 49u, 50u, 51u, 500u, 999u, 1000u}) {
            ScriptedPump pump;
            pump.resolution = resolution;
            pump.now = 7;  // start between two tick steps
            runPumpingWait(pump, ms);
            ASSERT_GE(pump.ticksRead.size(), 2u);
            uint32_t ticksElapsed = pump.ticksRead.back() - pump.ticksRead.front();
            uint32_t ticksBefore = pump.ticksRead[pump.ticksRead.size() - 2] - pump.ticksRead.front();
            EXPECT_GE(ticksElapsed, ms) << "ms " << ms << ", resolution " << resolution;
            if (pump.ticksRead.size() > 2) {
                EXPECT_LT(ticksBefore, ms) << "ms " << ms << ", resolution " << resolution;
            }
            // The pass whose tick reached the time still sleeps its 50 ms.
            EXPECT_EQ(pump.now, pump.lastTickReadAt + 50) << "ms " << ms << ", resolution " << resolution;
            // So in real time it lasts t + 50, less at most one tick step of coarseness.
            uint64_t elapsed = pump.now - 7;
            EXPECT_GT(elapsed + resolution, uint64_t(ms) + 50) << "ms " << ms << ", resolution " << resolution;
        }
    }
}

TEST(LauncherPumpingWait, TimesCorrectlyAcrossTheTickWrap) {
    ScriptedPump pump;
    pump.tickBase = 0xFFFFFF00u;  // wraps 256 ms in
    runPumpingWait(pump, 1000);
    EXPECT_EQ(pump.now, 1050u);
}

TEST(LauncherPumpingWait, DispatchesQueuedAndArrivingMessages) {
    ScriptedPump pump;
    pump.queue = {0x0113, 0x0400, 0x0400};
    pump.arrivals = {{120, 0x0400}, {120, 0x0401}, {480, 0x0113}};
    runPumpingWait(pump, 500);
    EXPECT_EQ(pump.dispatched, 6);
    EXPECT_TRUE(pump.queue.empty());
    EXPECT_EQ(pump.quitsPosted, 0);
}

TEST(LauncherPumpingWait, QuitEndsTheWaitAtOnceAndIsPostedAgain) {
    ScriptedPump pump;
    pump.queue = {0x0400, kQuit, 0x0401};
    runPumpingWait(pump, 1000);
    EXPECT_EQ(pump.now, 0u);
    EXPECT_EQ(pump.sleeps, 0);
    EXPECT_EQ(pump.dispatched, 1);
    EXPECT_EQ(pump.quitsPosted, 1);
    EXPECT_EQ(pump.queue.size(), 1u) << "messages after the quit are left for the caller's loop";
}

TEST(LauncherPumpingWait, NoHostWindowNoWait) {
    int looks = 0;
    int waits = 0;
    waitForHostWindowToClose([&] { return ++looks, false; }, [&](uint32_t) { ++waits; });
    EXPECT_EQ(looks, 1);
    EXPECT_EQ(waits, 0);
}

TEST(LauncherPumpingWait, HostWindowWaitStopsOnceTheWindowIsGone) {
    int looks = 0;
    std::vector<uint32_t> waits;
    waitForHostWindowToClose([&] { return ++looks <= 3; }, [&](uint32_t ms) { waits.push_back(ms); });
    EXPECT_EQ(looks, 4);
    EXPECT_EQ(waits, std::vector<uint32_t>(3, 1000));
}

TEST(LauncherPumpingWait, HostWindowWaitGivesUpAfterTheTenthWait) {
    int looks = 0;
    std::vector<uint32_t> waits;
    waitForHostWindowToClose([&] { return ++looks, true; }, [&](uint32_t ms) { waits.push_back(ms); });
    EXPECT_EQ(looks, 10) << "no look after the tenth wait";
    EXPECT_EQ(waits, std::vector<uint32_t>(10, 1000));
}
