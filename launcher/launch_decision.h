#pragma once
// The launch decision taken on the launcher's first timer tick: relaunch elevated, start the
// host, or explain why it could not start. Every system call goes through LaunchPlatform.
#include <cstdint>

#include "cmd_line_info.h"

// Button sets and answers of the warning box (the values of MB_OK, MB_YESNO, IDYES, IDNO).
enum BoxButtons : unsigned { kBoxOk = 0, kBoxYesNo = 4 };
enum BoxAnswer : int { kAnswerYes = 6, kAnswerNo = 7 };

// The recorder host: its executable in the install folder, and the title of its main window,
// which start-up waits on when restarting or acting for an installer.
extern const wchar_t kHostFileName[];
extern const wchar_t kHostWindowTitle[];
extern const wchar_t kRuntimeInstallerFileName[];
extern const wchar_t kRuntimeOfferText[];
extern const wchar_t kCannotStartText[];
extern const wchar_t kContactSupportText[];
extern const wchar_t kRunAsAdministratorText[];

class LaunchPlatform {
public:
    virtual void killTimer() = 0;
    virtual int adminNameMatches() = 0;   // the group scan, counted from 0
    virtual bool tokenIsElevated() = 0;   // the token check
    virtual bool isModernWindows() = 0;   // Vista or later
    virtual void relaunchElevated(const wchar_t* parameters) = 0;  // parameters may be null
    // ShellExecuteW "open" with no parameters and no folder; the result as an unsigned number.
    virtual uintptr_t openFile(const wchar_t* path) = 0;
    virtual int warningBox(const wchar_t* text, unsigned buttons) = 0;
    virtual void pumpingWait(uint32_t ms) = 0;
    virtual void sleep(uint32_t ms) = 0;
    virtual void endProcess() = 0;  // ends the process with code 0; a test double returns

protected:
    ~LaunchPlatform() = default;
};

// " /restart" for either restart switch, else " /installer" for the installer switch, else null.
const wchar_t* relaunchParameters(const LaunchSwitches& switches);

class LaunchDecision {
public:
    // Runs the decision on the first call only; installFolder is stored without a trailing
    // backslash, and empty when it could not be read: nothing is started then. Every path ends
    // with platform.endProcess().
    void onTimer(LaunchPlatform& platform, const wchar_t* installFolder, const LaunchSwitches& switches);

private:
    bool taken_ = false;
};
