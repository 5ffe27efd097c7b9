// Entry point and start-up of the startup launcher.
#include <windows.h>

#include <cstdlib>

#include "cmd_line_info.h"
#include "install_folder.h"
#include "main_window.h"
#include "pumping_wait.h"

// The application object: start-up up to the hidden window and its timer, then the message loop.
class Orla {
public:
    explicit Orla(HINSTANCE instance) : instance_(instance) {}
    Orla(const Orla&) = delete;
    Orla& operator=(const Orla&) = delete;

    // Start-up; false ends the program without running the message loop.
    bool InitInstance();

    // InitInstance, then the message loop until WM_QUIT.
    void Run() {
        if (!InitInstance()) return;
        while (pumpMessage()) {
        }
    }

private:
    static const size_t kFolderUnits = 260;

    void findInstallFolder();

    HINSTANCE instance_;
    wchar_t installFolder_[kFolderUnits] = {};  // without a trailing backslash; empty when unread
    MainWindow window_;
};

void Orla::findInstallFolder() {
    wchar_t modulePath[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, modulePath, MAX_PATH);
    // A failed or cut path is not reported; the launcher goes on with the folder it has.
    if (length == 0 || length >= MAX_PATH) return;
    installFolderOf(modulePath, installFolder_, kFolderUnits);
}

bool Orla::InitInstance() {
    findInstallFolder();
    wchar_t current[kFolderUnits + 1];
    currentFolderFor(installFolder_, current, kFolderUnits + 1);
    SetCurrentDirectoryW(current);  // failure is not reported

    CmdLineInfo commandLine;
    parseCommandLine(commandLine, __argc, __wargv);
    const LaunchSwitches switches = commandLine.switches();
    if (switches.installer || switches.restartMode != kNoRestart) {
        waitForHostWindowToClose([] { return FindWindowW(nullptr, kHostWindowTitle) != nullptr; },
                                 [](uint32_t ms) { pumpingWait(ms); });
    }

    // Without the window and its timer the loop would wait forever; end quietly instead.
    if (!window_.CreateHidden(instance_, installFolder_, switches)) return false;
    window_.ShowWindow(SW_HIDE);
    return true;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    Orla app(instance);
    app.Run();
    // The launcher reports nothing through its exit code, whatever code a quit message carried.
    return 0;
}
