#include "main_window.h"

#include "resource.h"
#include "system_launch_platform.h"

MainWindow::~MainWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool MainWindow::CreateHidden(HINSTANCE instance, const wchar_t* installFolder, const LaunchSwitches& switches) {
    installFolder_ = installFolder;
    switches_ = switches;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_LAUNCHER));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"VelvoxFrame";
    RegisterClassW(&windowClass);  // a failure shows as the window's
    // Zero size at (-32000, -32000); the window procedure picks `this` up from the creation parameters.
    if (CreateWindowExW(0, windowClass.lpszClassName, L"Orla", WS_OVERLAPPEDWINDOW, -32000, -32000, 0, 0, nullptr,
                        nullptr, instance, this) == nullptr) {
        return false;
    }
    // The tick comes as WM_TIMER, so the decision runs inside the message loop.
    return SetTimer(hwnd_, kTimerId, 1000, nullptr) != 0;
}

void MainWindow::OnTimer() {
    SystemLaunchPlatform platform(hwnd_, kTimerId);
    decision_.onTimer(platform, installFolder_, switches_);
}

LRESULT CALLBACK MainWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);

    switch (message) {
    case WM_TIMER:  // whatever the timer id: the decision runs once
        self->OnTimer();
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_NCDESTROY:
        // The application's only window is its main window: with it goes the message loop.
        self->hwnd_ = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        PostQuitMessage(0);
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
