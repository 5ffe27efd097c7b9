// Entry point and start-up of the startup launcher.
#include "launcher_app.h"

#include <windows.h>

#include "host_wait.h"
#include "install_folder.h"
#include "probes.h"

Orla theApp;

void Orla::findInstallFolder() {
    wchar_t modulePath[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, modulePath, MAX_PATH);
    // A failed or cut path is not reported; the launcher goes on with the folder it has.
    if (length == 0 || length >= MAX_PATH) return;
    installFolderOf(modulePath, installFolder_, kFolderUnits);
}

void Orla::waitForHostToClose() {
    waitForHostWindowToClose([] { return FindWindowW(nullptr, L"Nestor") != nullptr; },
                             [this](uint32_t ms) { pumpingWait(*this, ms); });
}

BOOL Orla::InitInstance() {
    findInstallFolder();
    wchar_t current[kFolderUnits + 1];
    currentFolderFor(installFolder_, current, kFolderUnits + 1);
    SetCurrentDirectoryW(current);  // failure is not reported

    CmdLineInfo commandLine;
    ParseCommandLine(commandLine);
    switches_ = commandLine.switches();
    if (switches_.installer || switches_.restartMode != kNoRestart) waitForHostToClose();

    // Without the window and its timer the loop would wait forever; end quietly instead.
    if (!window_.CreateHidden()) return FALSE;
    m_pMainWnd = &window_;
    window_.ShowWindow(SW_HIDE);
    return TRUE;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // The launcher reports nothing through its exit code, whatever code a quit message carried.
    theApp.Run(instance);
    return 0;
}
