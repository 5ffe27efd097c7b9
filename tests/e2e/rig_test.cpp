// The whole chain: the deliverables are built, start under Wine and end as they should.
#include <gtest/gtest.h>

#include <windows.h>

#include "paths.h"
#include "process_run.h"
#include "temp_dir.h"

TEST(Rig, RelayWithoutArgumentsEndsQuietlyWithZero) {
    RunResult run = runProgram(builtProgram(L"relay.exe"), L"", {});
    ASSERT_TRUE(run.started) << run.startError;
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, "");
}

TEST(Rig, LauncherStartsAndEndsWithZero) {
    // A copy on its own: the build folder holds the stand-in host, which it would start.
    TempDir dir(L"rig");
    TempDir elsewhere(L"rig_cwd");
    ASSERT_TRUE(copyFileTo(builtProgram(L"launcher.exe"), dir.file(L"launcher.exe")));
    RunOptions options;
    options.currentDir = elsewhere.path();
    RunResult run = runProgram(dir.file(L"launcher.exe"), L"", options);
    ASSERT_TRUE(run.started) << run.startError;
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0u);
}
