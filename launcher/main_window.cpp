#include "main_window.h"

#include <windows.h>
#include <shellapi.h>

#include "launcher_app.h"
#include "probes.h"
#include "warning_box.h"

static_assert(kBoxOk == MB_OK && kBoxYesNo == MB_YESNO, "warning box buttons");
static_assert(kAnswerYes == IDYES && kAnswerNo == IDNO, "warning box answers");

namespace {

const int kIconId = 111;

// The launch decision's way to the system.
class SystemLaunchPlatform : public LaunchPlatform {
public:
    SystemLaunchPlatform(HWND window, WinApp& app) : window_(window), app_(app) {}

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
    void pumpingWait(uint32_t ms) override { ::pumpingWait(app_, ms); }
    void sleep(uint32_t ms) override { Sleep(ms); }
    void endProcess() override { ExitProcess(0); }

private:
    HWND window_;
    WinApp& app_;
};

}  // namespace

BOOL MainWindow::CreateHidden() {
    HINSTANCE instance = theApp.instance();
    const wchar_t* className =
        registerWindowClass(0, LoadCursorW(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                            LoadIconW(instance, MAKEINTRESOURCEW(kIconId)));
    const RECT offScreen = {-32000, -32000, -32000, -32000};
    if (!Create(className, L"Orla", WS_OVERLAPPEDWINDOW, offScreen)) return FALSE;
    // The tick comes as WM_TIMER, so the decision runs inside the message loop.
    return SetTimer(hwnd(), kTimerId, 1000, nullptr) != 0;
}

LRESULT MainWindow::OnTimer(WPARAM, LPARAM) {
    SystemLaunchPlatform platform(hwnd(), theApp);
    decision_.onTimer(platform, theApp.installFolder(), theApp.switches());
    return 0;
}

const MessageMapEntry* MainWindow::messageMap() const {
    static const MessageMapEntry map[] = {
        {WM_TIMER, static_cast<MessageHandler>(&MainWindow::OnTimer)},
        {WM_CLOSE, &FrameWnd::OnClose},
        {0, nullptr},
    };
    return map;
}
