// The real probes and the real pumping wait, run in this process under Wine.
#include <gtest/gtest.h>

#include <cstdio>

#include "app_framework.h"
#include "probes.h"

namespace {

struct TestApp : WinApp {
    BOOL InitInstance() override { return TRUE; }
};

int received = 0;

LRESULT CALLBACK countingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) ++received;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

// The other launcher tests start the host directly; this is why, in numbers.
TEST(LauncherProbes, AnswersUnderThisSystemLeadToTheDirectStart) {
    int matches = adminNameMatches();
    bool elevated = tokenIsElevated();
    bool modern = isModernWindows();
    std::printf("group scan: %d match(es); token check: %s; Windows generation: %s\n", matches,
                elevated ? "elevated" : "not elevated", modern ? "modern (Vista or later)" : "older than Vista");
    RecordProperty("adminNameMatches", matches);
    RecordProperty("elevated", elevated);
    RecordProperty("modern", modern);
    EXPECT_FALSE(matches == 1 && !elevated) << "this system would take the elevated relaunch";
    EXPECT_TRUE(modern);
    EXPECT_EQ(isModernWindows(), modern) << "a second look gives the same answer";
}

TEST(LauncherPumpingWait, LastsAtLeastTheTimeAndFiftyMoreTicks) {
    // The tick count moves in steps (15.6 ms on Windows; irregular under Wine, where a 50 ms sleep
    // was seen as 43 to 64 ticks), so a reading from outside may lag the wait's own by one step.
    const DWORD tickStep = 16;
    TestApp app;
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    DWORD start = GetTickCount();
    QueryPerformanceCounter(&before);
    pumpingWait(app, 500);
    QueryPerformanceCounter(&after);
    DWORD ticks = GetTickCount() - start;
    double ms = double(after.QuadPart - before.QuadPart) * 1000.0 / double(frequency.QuadPart);
    EXPECT_GE(ticks, 550u - tickStep);
    EXPECT_GE(ms, 550.0 - tickStep);
    EXPECT_LT(ms, 2000.0);
}

TEST(LauncherPumpingWait, DispatchesPostedMessagesWhileWaiting) {
    TestApp app;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = countingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PumpingWaitTest";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 3; ++i) PostMessageW(window, WM_APP, 0, 0);
    pumpingWait(app, 100);
    EXPECT_EQ(received, 3);
    DestroyWindow(window);
}

TEST(LauncherPumpingWait, QuitEndsItAtOnceAndStaysQueued) {
    TestApp app;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
    PostQuitMessage(0);
    DWORD start = GetTickCount();
    pumpingWait(app, 5000);
    EXPECT_LT(GetTickCount() - start, 500u);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
    EXPECT_EQ(message.wParam, 0u);
    // The framework's own loop would end on it: PumpMessage reports the quit.
    PostQuitMessage(0);
    EXPECT_FALSE(app.PumpMessage());
}
