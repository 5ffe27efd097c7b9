#pragma once
// Finds the top-level windows of another process (or of this one): a window by its title, the
// message boxes it shows, and answers them.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

std::wstring windowTitle(HWND window);

// The first top-level window of the process with this title (visible or not), or null.
HWND findWindowOf(DWORD processId, const std::wstring& title);

// A visible top-level window of the process, waited for up to `timeoutMs`; NULL if none came.
HWND waitForTopWindow(DWORD processId, DWORD timeoutMs);

// Waits up to `timeoutMs` for the window's title to hold `part`; returns the last title seen.
std::wstring waitForWindowTitle(HWND window, const std::wstring& part, DWORD timeoutMs);

// Posts WM_CLOSE and waits for the process to end; if it does not, ends it. False in that case.
bool closeWindowAndWait(HWND window, DWORD processId, DWORD timeoutMs);

struct SeenBox {
    HWND window;
    std::wstring caption;
    std::wstring text;
};

// The message boxes the process shows now: its visible windows of the dialog class.
std::vector<SeenBox> messageBoxes(DWORD processId);

// Meets each message box of one process once: hands it out when it first shows and answers it
// `delayMs` later with each of `buttons` (IDOK, IDNO...), again every second while it stays.
class BoxAnswerer {
public:
    BoxAnswerer(DWORD processId, std::vector<int> buttons, DWORD delayMs = 0)
        : processId_(processId), buttons_(std::move(buttons)), delayMs_(delayMs) {}
    // Answers the boxes that are due; returns the ones that showed since the last call.
    std::vector<SeenBox> poll();

private:
    struct Shown {
        HWND window;
        ULONGLONG answerAt;
    };
    DWORD processId_;
    std::vector<int> buttons_;
    DWORD delayMs_;
    std::vector<Shown> shown_;
};
