// The launcher's real pumping wait and message pump, on this thread's own queue under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include "pumping_wait.h"

namespace {

int received = 0;

LRESULT CALLBACK countingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) ++received;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST(LauncherPumpingWaitWindows, LastsAtLeastTheTimeAndFiftyMoreTicks) {
    // The tick count moves in steps (15.6 ms on Windows; irregular under Wine, where a 50 ms sleep
    // was seen as 43 to 64 ticks), so a reading from outside may lag the wait's own by one step.
    const DWORD tickStep = 16;
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    DWORD start = GetTickCount();
    QueryPerformanceCounter(&before);
    pumpingWait(500);
    QueryPerformanceCounter(&after);
    DWORD ticks = GetTickCount() - start;
    double ms = double(after.QuadPart - before.QuadPart) * 1000.0 / double(frequency.QuadPart);
    EXPECT_GE(ticks, 550u - tickStep);
    EXPECT_GE(ms, 550.0 - tickStep);
    EXPECT_LT(ms, 2000.0);
}

TEST(LauncherPumpingWaitWindows, DispatchesPostedMessagesWhileWaiting) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = countingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PumpingWaitTest";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 3; ++i) PostMessageW(window, WM_APP, 0, 0);
    pumpingWait(100);
    EXPECT_EQ(received, 3);
    DestroyWindow(window);
}

TEST(LauncherPumpingWaitWindows, QuitEndsItAtOnceAndStaysQueued) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
    PostQuitMessage(0);
    DWORD start = GetTickCount();
    pumpingWait(5000);
    EXPECT_LT(GetTickCount() - start, 500u);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
    EXPECT_EQ(message.wParam, 0u);
    // The launcher's own loop would end on it: pumpMessage reports the quit.
    PostQuitMessage(0);
    EXPECT_FALSE(pumpMessage());
}
