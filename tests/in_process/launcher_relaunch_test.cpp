// The launcher's elevated relaunch, made in this process: the stand-in host it starts records how.
#include <gtest/gtest.h>

#include "launcher_harness.h"  // windows.h first, for shellapi.h

#include <shellapi.h>

#include "launch_decision.h"
#include "paths.h"
#include "probes.h"
#include "wait_until.h"

TEST(LauncherRelaunch, RunasStartsTheProgramInTheCurrentFolderWithTheSwitchItWasGiven) {
    const struct {
        LaunchSwitches switches;
        const wchar_t* argument;  // what the started program finds after its own path; null: nothing
    } rows[] = {
        {{false, kNoRestart}, nullptr},
        {{true, kNoRestart}, L"/installer"},
        {{true, kRestart}, L"/restart"},
        {{false, kRestore}, L"/restart"},
    };
    wchar_t current[MAX_PATH * 4];
    const DWORD currentLength = GetCurrentDirectoryW(MAX_PATH * 4, current);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "expected argument " << toUtf8(row.argument ? row.argument : L"(none)"));
        // The stand-in host records how it was started.
        LauncherInstall install(L"runas");
        const std::wstring program = install.folder() + L"\\velvoxapp.exe";
        ASSERT_TRUE(startElevated(program.c_str(), relaunchParameters(row.switches)));
        waitUntil([&] { return !install.hostStarts().empty(); }, 10000, 20);
        const std::vector<HostStart> starts = install.hostStarts();
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(_wcsicmp(starts[0].currentDir.c_str(), std::wstring(current, currentLength).c_str()), 0)
            << toUtf8(starts[0].currentDir);
        int argc = 0;
        wchar_t** argv = CommandLineToArgvW(starts[0].commandLine.c_str(), &argc);
        ASSERT_NE(argv, nullptr);
        EXPECT_EQ(_wcsicmp(argv[0], program.c_str()), 0) << toUtf8(argv[0]);
        EXPECT_EQ(argc, row.argument ? 2 : 1) << toUtf8(starts[0].commandLine);
        if (row.argument != nullptr && argc == 2) {
            EXPECT_STREQ(argv[1], row.argument);
        }
        LocalFree(argv);
    }
}
