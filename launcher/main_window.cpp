#include "main_window.h"

#include <shellapi.h>

#include "probes.h"
#include "pumping_wait.h"
#include "resource.h"
#include "warning_box.h"

static_assert(kBoxOk == MB_OK && kBoxYesNo == MB_YESNO, "warning box buttons");
static_assert(kAnswerYes == IDYES && kAnswerNo == IDNO, "warning box answers");

namespace {

// The launch decision's way to the system.
class SystemLaunchPlatform : public LaunchPlatform {
public:
    explicit SystemLaunchPlatform(HWND window) : window_(window) {}

    void killTimer() override { KillTimer(window_, MainWindow::kTimerId); }
    int adminNameMatches() override { return ::adminNameMatches(); }
    bool tokenIsElevated() override { return ::tokenIsElevated(); }
    bool isModernWindows() override { return ::isModernWindows(); }
    void relaunchElevated(const wchar_t* parameters) override { ::relaunchElevated(parameters); }
    uintptr_t openFile(const wchar_t* path) override {
        // Without a folder the program starts in the current folder, the install folder.
        return reinterpret_cast<uintptr_t>(ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOWNORMAL));
    }
    int warningBox(const wchar_t* text, unsigned buttons) override { return ::warningBox(text, buttons); }
    void pumpingWait(uint32_t ms) override { ::pumpingWait(ms); }
    void sleep(uint32_t ms) override { Sleep(ms); }
    void endProcess() override { ExitProcess(0); }

private:
    HWND window_;
};

}  // namespace

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
    SystemLaunchPlatform platform(hwnd_);
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
