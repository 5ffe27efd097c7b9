#include "system_launch_platform.h"

#include <shellapi.h>

#include "probes.h"
#include "pumping_wait.h"
#include "warning_box.h"

static_assert(kBoxOk == MB_OK && kBoxYesNo == MB_YESNO, "warning box buttons");
static_assert(kAnswerYes == IDYES && kAnswerNo == IDNO, "warning box answers");

void SystemLaunchPlatform::killTimer() { KillTimer(window_, timerId_); }
int SystemLaunchPlatform::adminNameMatches() { return ::adminNameMatches(); }
bool SystemLaunchPlatform::tokenIsElevated() { return ::tokenIsElevated(); }
bool SystemLaunchPlatform::isModernWindows() { return ::isModernWindows(); }
void SystemLaunchPlatform::relaunchElevated(const wchar_t* parameters) { ::relaunchElevated(parameters); }

uintptr_t SystemLaunchPlatform::openFile(const wchar_t* path) {
    // Without a folder the program starts in the current folder, the install folder.
    return reinterpret_cast<uintptr_t>(ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOWNORMAL));
}

int SystemLaunchPlatform::warningBox(const wchar_t* text, unsigned buttons) { return ::warningBox(text, buttons); }
void SystemLaunchPlatform::pumpingWait(uint32_t ms) { ::pumpingWait(ms); }
void SystemLaunchPlatform::sleep(uint32_t ms) { Sleep(ms); }
void SystemLaunchPlatform::endProcess() { ExitProcess(0); }
