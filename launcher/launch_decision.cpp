#include "launch_decision.h"

#include "wide_text.h"

const wchar_t kHostFileName[] = L"velvoxapp.exe";
const wchar_t kHostWindowTitle[] = L"Nestor";
const wchar_t kRuntimeInstallerFileName[] = L"vcredist_x86.exe";
const wchar_t kRuntimeOfferText[] =
    L"Corvid could not be started...\n\nMicrosoft vcredist_x86 package needs to be installed now. "
    L"Click YES to install NO to exit.";
const wchar_t kCannotStartText[] =
    L"Corvid cannot be started...\n\nWould you like to see how to resolve this issue now?";
const wchar_t kContactSupportText[] =
    L"Please contact our customer support at https://www.velvox.com/support";
const wchar_t kRunAsAdministratorText[] =
    L"To resolve this, right-click the shortcut and select \"Run as administrator.\" \n\n"
    L"To make the change permanent right-click the shortcut, select Properties, click Advanced, "
    L"and check \"Run as administrator\".";

namespace {

const size_t kPathUnits = 2000;
const uintptr_t kFirstSuccess = 32;  // ShellExecuteW results below this are errors
const uintptr_t kFileNotFound = 2;   // ShellExecuteW's result for a missing file

// Opens `name` in the install folder. An empty folder (the launcher's own path did not fit) would
// name the current drive's root: nothing is started there, and the file counts as not found.
uintptr_t openInFolder(LaunchPlatform& platform, const wchar_t* folder, const wchar_t* name) {
    if (folder == nullptr || folder[0] == L'\0') return kFileNotFound;
    wchar_t path[kPathUnits];
    copyText(path, kPathUnits, folder);
    appendText(path, kPathUnits, L"\\");
    appendText(path, kPathUnits, name);
    return platform.openFile(path);
}

}  // namespace

const wchar_t* relaunchParameters(const LaunchSwitches& switches) {
    if (switches.restartMode != kNoRestart) return L" /restart";
    if (switches.installer) return L" /installer";
    return nullptr;
}

void LaunchDecision::onTimer(LaunchPlatform& platform, const wchar_t* installFolder,
                             const LaunchSwitches& switches) {
    if (taken_) return;
    taken_ = true;
    platform.killTimer();

    int matches = platform.adminNameMatches();
    bool elevated = platform.tokenIsElevated();
    if (matches == 1 && !elevated) {
        platform.relaunchElevated(relaunchParameters(switches));
        platform.pumpingWait(500);
        platform.endProcess();
        return;
    }

    bool modern = platform.isModernWindows();
    uintptr_t result = openInFolder(platform, installFolder, kHostFileName);

    if (result < kFirstSuccess && !modern) {
        if (platform.warningBox(kRuntimeOfferText, kBoxYesNo) == kAnswerYes) {
            openInFolder(platform, installFolder, kRuntimeInstallerFileName);  // a failed start is not reported
        }
        platform.pumpingWait(1000);
        platform.endProcess();
        return;
    }
    if (result == 0 && modern) {
        if (platform.warningBox(kCannotStartText, kBoxYesNo) == kAnswerNo) {
            platform.warningBox(kContactSupportText, kBoxOk);
        } else {
            platform.warningBox(kRunAsAdministratorText, kBoxOk);
        }
        platform.endProcess();
        return;
    }
    // Started, or failed on modern Windows with a code that needs no guidance.
    platform.sleep(1000);
    platform.endProcess();
}
