// A close request or a quit message before the first tick ends the launcher without a decision.
#include <gtest/gtest.h>

#include "launcher_harness.h"
#include "wait_until.h"

namespace {

// Finds the launcher's hidden window "Orla" as soon as it exists.
HWND waitForOrla(const ChildProcess& launcher, DWORD timeoutMs) {
    HWND window = nullptr;
    waitUntil([&] { return (window = findWindowOf(launcher.processId(), L"Orla")) != nullptr || launcher.hasExited(); },
              timeoutMs, 2);
    return window;
}

}  // namespace

TEST(LauncherClose, HiddenWindowIsOrlaOffScreen) {
    LauncherInstall install(L"orla");
    ChildProcess launcher(install.launcher(), L"", install.folder());
    ASSERT_TRUE(launcher.started()) << launcher.error();
    HWND window = waitForOrla(launcher, 15000);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(window, &rect));
    EXPECT_EQ(rect.left, -32000);
    EXPECT_EQ(rect.top, -32000);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_OVERLAPPEDWINDOW, LONG(WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(GetParent(window), nullptr);
    ASSERT_TRUE(launcher.watchUntilExit(30000));
    EXPECT_EQ(launcher.exitCode(), 0u);
}

TEST(LauncherClose, CloseBeforeTheFirstTickEndsWithoutStartingTheHost) {
    LauncherInstall install(L"close");
    ChildProcess launcher(install.launcher(), L"", install.folder());
    ASSERT_TRUE(launcher.started()) << launcher.error();
    HWND window = waitForOrla(launcher, 15000);
    ASSERT_NE(window, nullptr);
    double closedAt = nowMs();
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(launcher.watchUntilExit(30000));
    EXPECT_EQ(launcher.exitCode(), 0u);
    EXPECT_LT(launcher.exitMs() - closedAt, 900) << "it should end at once, not after a tick";
    EXPECT_TRUE(launcher.boxes().empty());
    Sleep(2500);  // past the first tick and the pause after it
    EXPECT_TRUE(install.hostStarts().empty());
}

TEST(LauncherClose, QuitBeforeTheFirstTickEndsWithoutStartingTheHost) {
    LauncherInstall install(L"quit");
    ChildProcess launcher(install.launcher(), L"", install.folder());
    ASSERT_TRUE(launcher.started()) << launcher.error();
    ASSERT_NE(waitForOrla(launcher, 15000), nullptr);
    double quitAt = nowMs();
    ASSERT_TRUE(PostThreadMessageW(launcher.threadId(), WM_QUIT, 3, 0));  // its code is not passed on
    ASSERT_TRUE(launcher.watchUntilExit(30000));
    EXPECT_EQ(launcher.exitCode(), 0u);
    EXPECT_LT(launcher.exitMs() - quitAt, 900);
    Sleep(2500);
    EXPECT_TRUE(install.hostStarts().empty());
}
