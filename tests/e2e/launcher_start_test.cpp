// The launcher's direct start of the host, the path Wine's probes lead to (see launcher_probes_test).
#include <gtest/gtest.h>

#include "launcher_harness.h"

#include <shellapi.h>

namespace {

// The first tick comes a second after start-up, and the launcher sleeps a second after the start.
const double kTickAndPauseMs = 2000;
const double kSlackMs = 60;  // timer and clock granularity
const double kWineStartUpMs = 6000;

bool sameFolder(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

}  // namespace

TEST(LauncherStart, StartsTheHostOnceInTheInstallFolderAndEndsAboutTwoSecondsAfterStart) {
    LauncherInstall install(L"start");
    TempDir elsewhere(L"start_cwd");
    ChildProcess launcher(install.launcher(), L"", elsewhere.path());
    ASSERT_TRUE(launcher.started());
    std::vector<SeenBox> boxes;
    ASSERT_TRUE(watchUntilExit(launcher, 30000, boxes));
    EXPECT_EQ(launcher.exitCode(), 0u);
    EXPECT_TRUE(boxes.empty()) << narrow(boxes.front().caption) << ": " << narrow(boxes.front().text);
    double lifetime = launcher.exitMs() - launcher.startMs();
    EXPECT_GE(lifetime, kTickAndPauseMs - kSlackMs);
    EXPECT_LT(lifetime, kTickAndPauseMs + kWineStartUpMs);

    Sleep(1500);  // a second start would have shown by now
    std::vector<HostStart> starts = install.hostStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_TRUE(sameFolder(starts[0].currentDir, install.folder()))
        << narrow(starts[0].currentDir) << " vs " << narrow(install.folder());
    // The host gets no arguments, only its own path.
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(starts[0].commandLine.c_str(), &argc);
    ASSERT_NE(argv, nullptr);
    EXPECT_EQ(argc, 1) << narrow(starts[0].commandLine);
    EXPECT_TRUE(sameFolder(argv[0], install.folder() + L"\\velvoxapp.exe")) << narrow(argv[0]);
    LocalFree(argv);
    // Started on the first tick, a second into the run, not at start-up.
    EXPECT_GE(starts[0].timeMs - launcher.startMs(), 1000 - kSlackMs);
}

TEST(LauncherStart, MissingHostEndsQuietlyAboutTwoSecondsAfterStart) {
    LauncherInstall install(L"nohost", false);
    TempDir elsewhere(L"nohost_cwd");
    ChildProcess launcher(install.launcher(), L"", elsewhere.path());
    ASSERT_TRUE(launcher.started());
    std::vector<SeenBox> boxes;
    ASSERT_TRUE(watchUntilExit(launcher, 30000, boxes));
    EXPECT_EQ(launcher.exitCode(), 0u);
    EXPECT_TRUE(boxes.empty()) << narrow(boxes.front().caption) << ": " << narrow(boxes.front().text);
    double lifetime = launcher.exitMs() - launcher.startMs();
    EXPECT_GE(lifetime, kTickAndPauseMs - kSlackMs);
    EXPECT_LT(lifetime, kTickAndPauseMs + kWineStartUpMs);
    EXPECT_FALSE(fileExists(install.hostRecord()));
}
