#pragma once
// The launch decision's way to the real system: the probes, the shell, the warning box, the
// pumping wait and the process end.
#include <windows.h>

#include "launch_decision.h"

class SystemLaunchPlatform : public LaunchPlatform {
public:
    // `window` carries the timer that the decision kills.
    SystemLaunchPlatform(HWND window, UINT_PTR timerId) : window_(window), timerId_(timerId) {}

    void killTimer() override;
    int adminNameMatches() override;
    bool tokenIsElevated() override;
    bool isModernWindows() override;
    void relaunchElevated(const wchar_t* parameters) override;
    uintptr_t openFile(const wchar_t* path) override;
    int warningBox(const wchar_t* text, unsigned buttons) override;
    void pumpingWait(uint32_t ms) override;
    void sleep(uint32_t ms) override;
    void endProcess() override;

private:
    HWND window_;
    UINT_PTR timerId_;
};
