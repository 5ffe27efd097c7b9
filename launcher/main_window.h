#pragma once
// The launcher's hidden window: its one-second timer carries the launch decision; closing it
// ends the message loop.
#include <windows.h>

#include "launch_decision.h"

class MainWindow {
public:
    static const UINT_PTR kTimerId = 1;

    MainWindow() = default;
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window "Orla" at (-32000, -32000) with no size and starts its 1000 ms timer.
    // The decision gets installFolder (kept, not copied: it outlives the window) and switches.
    bool CreateHidden(HINSTANCE instance, const wchar_t* installFolder, const LaunchSwitches& switches);
    void ShowWindow(int command) { ::ShowWindow(hwnd_, command); }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnTimer();

    HWND hwnd_ = nullptr;
    const wchar_t* installFolder_ = L"";
    LaunchSwitches switches_;
    LaunchDecision decision_;
};
