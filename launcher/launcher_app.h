#pragma once
// The launcher's application object: start-up up to the hidden window and its timer.
#include "app_framework.h"
#include "cmd_line_info.h"
#include "main_window.h"

class Orla : public WinApp {
public:
    BOOL InitInstance() override;

    // The folder of launcher.exe without a trailing backslash; empty when it could not be read.
    const wchar_t* installFolder() const { return installFolder_; }
    const LaunchSwitches& switches() const { return switches_; }

private:
    static const size_t kFolderUnits = 260;

    void findInstallFolder();
    void waitForHostToClose();

    wchar_t installFolder_[kFolderUnits] = {};
    LaunchSwitches switches_;
    MainWindow window_;
};

extern Orla theApp;
