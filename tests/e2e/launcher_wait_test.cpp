// The start-up wait for a running host's "Nestor" window. FindWindowW sees every window in the
// Wine session, so these cases hold the "nestor_window" resource lock and run one at a time.
#include <gtest/gtest.h>

#include "launcher_harness.h"
#include "paths.h"
#include "wait_until.h"

namespace {

const double kWaitStepMs = 1050;  // one pumping wait of 1000 ms lasts this long
const double kTickStepMs = 16;    // less up to one step of the tick count, which it is timed by

}  // namespace

TEST(LauncherWait, RestartWithoutNestorStartsWithoutWaiting) {
    ASSERT_EQ(FindWindowW(nullptr, L"Nestor"), nullptr) << "a Nestor window is left over";
    LauncherInstall install(L"nowait");
    ChildProcess launcher(install.launcher(), L"/restart", install.folder());
    ASSERT_TRUE(launcher.watchUntilExit(30000));
    EXPECT_EQ(launcher.exitCode(), 0u);
    EXPECT_GE(launcher.lifetimeMs(), kTickAndPauseMs - kSlackMs);
    EXPECT_LT(launcher.lifetimeMs(), kTickAndPauseMs + kWineStartUpMs);
    Sleep(1000);
    EXPECT_EQ(install.hostStarts().size(), 1u);
}

TEST(LauncherWait, InstallerSwitchWaitsForNestorToCloseThenStartsTheHost) {
    TempDir holderDir(L"holder");
    // The stand-in host holds "Nestor" for four seconds.
    ChildProcess holder(builtProgram(L"velvoxapp.exe"),
                        quoteArgs({L"--record", holderDir.file(L"holder.txt"), L"--nestor", L"4000"}), holderDir.path());
    ASSERT_TRUE(holder.started()) << holder.error();
    ASSERT_TRUE(waitForNestor(15000));

    LauncherInstall install(L"wait");
    ChildProcess launcher(install.launcher(), L"/installer", install.folder());
    ASSERT_TRUE(launcher.started()) << launcher.error();
    double nestorGoneBy = 0;
    ASSERT_TRUE(launcher.watchUntilExit(40000, [&] {
        if (nestorGoneBy == 0 && holder.hasExited()) nestorGoneBy = nowMs();
    }));
    ASSERT_NE(nestorGoneBy, 0) << "the Nestor window outlived the launcher";
    EXPECT_EQ(launcher.exitCode(), 0u);
    EXPECT_TRUE(launcher.boxes().empty());

    Sleep(1000);
    std::vector<HostStart> starts = install.hostStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_GT(starts[0].timeMs, nestorGoneBy) << "the host started while Nestor was open";
    // Noticed within one wait step; then the first tick and the pause.
    double afterNestor = launcher.exitMs() - nestorGoneBy;
    EXPECT_GE(afterNestor, kTickAndPauseMs - kSlackMs);
    EXPECT_LT(afterNestor, kWaitStepMs + kTickAndPauseMs + 1500);
}

TEST(LauncherWait, RestoreGivesUpOnANestorThatNeverClosesAfterTenWaits) {
    NestorWindow nestor;
    ASSERT_NE(nestor.hwnd(), nullptr);
    LauncherInstall install(L"giveup");
    ChildProcess launcher(install.launcher(), L"-restore", install.folder());
    ASSERT_TRUE(launcher.started()) << launcher.error();
    ASSERT_TRUE(launcher.watchUntilExit(60000));
    EXPECT_EQ(launcher.exitCode(), 0u);
    EXPECT_TRUE(launcher.boxes().empty());
    EXPECT_GE(launcher.lifetimeMs(), 10 * (kWaitStepMs - kTickStepMs) + kTickAndPauseMs - kSlackMs);
    EXPECT_LT(launcher.lifetimeMs(), 10 * kWaitStepMs + kTickAndPauseMs + kWineStartUpMs);

    Sleep(1000);
    std::vector<HostStart> starts = install.hostStarts();
    ASSERT_EQ(starts.size(), 1u) << "start-up goes on after the tenth wait";
    EXPECT_GE(starts[0].timeMs - launcher.startMs(), 10 * (kWaitStepMs - kTickStepMs) + 1000 - kSlackMs);
    EXPECT_TRUE(IsWindow(nestor.hwnd()));
}

TEST(LauncherWait, WordsThatAreNotSwitchesDoNotWaitEvenWithNestorOpen) {
    NestorWindow nestor;
    ASSERT_NE(nestor.hwnd(), nullptr);
    LauncherInstall install(L"words");
    ChildProcess launcher(install.launcher(), L"restart /Restart -RESTORE installer /installerx", install.folder());
    ASSERT_TRUE(launcher.watchUntilExit(30000));
    EXPECT_EQ(launcher.exitCode(), 0u);
    EXPECT_LT(launcher.lifetimeMs(), kTickAndPauseMs + kWineStartUpMs);
    Sleep(1000);
    EXPECT_EQ(install.hostStarts().size(), 1u);
}

TEST(LauncherWait, QuitDuringTheWaitEndsTheLauncherWithoutADecision) {
    NestorWindow nestor;
    ASSERT_NE(nestor.hwnd(), nullptr);
    LauncherInstall install(L"waitquit");
    ChildProcess launcher(install.launcher(), L"/restart", install.folder());
    ASSERT_TRUE(launcher.started()) << launcher.error();
    // Once the launcher is waiting (its thread has a message queue), post it a quit message.
    Sleep(1500);
    ASSERT_TRUE(waitUntil([&] { return PostThreadMessageW(launcher.threadId(), WM_QUIT, 0, 0) != 0; }, 10000, 100));
    const double quitAt = nowMs();
    ASSERT_TRUE(launcher.watchUntilExit(30000));
    EXPECT_EQ(launcher.exitCode(), 0u);
    EXPECT_LT(launcher.exitMs() - quitAt, 900) << "the quit should end the waits and the loop at once";
    EXPECT_EQ(findWindowOf(launcher.processId(), L"Orla"), nullptr);
    Sleep(2500);
    EXPECT_TRUE(install.hostStarts().empty());
}
