#include "window_find.h"

#include <cwchar>

#include "unique_handle.h"
#include "wait_until.h"

namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> topWindows(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

std::wstring windowTitle(HWND window) {
    wchar_t title[2048] = {};
    GetWindowTextW(window, title, int(sizeof title / sizeof title[0]));
    return title;
}

HWND findWindowOf(DWORD processId, const std::wstring& title) {
    for (HWND window : topWindows(processId)) {
        if (windowTitle(window) == title) return window;
    }
    return nullptr;
}

HWND waitForTopWindow(DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            for (HWND window : topWindows(processId)) {
                if (!IsWindowVisible(window)) continue;
                found = window;
                return true;
            }
            return false;
        },
        timeoutMs);
    return found;
}

std::wstring waitForWindowTitle(HWND window, const std::wstring& part, DWORD timeoutMs) {
    std::wstring title;
    waitUntil(
        [&] {
            title = windowTitle(window);
            return title.find(part) != std::wstring::npos || !IsWindow(window);
        },
        timeoutMs);
    return title;
}

bool closeWindowAndWait(HWND window, DWORD processId, DWORD timeoutMs) {
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (!process) return false;
    if (WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0) return true;
    // Left running it would outlive the test run.
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 5000);
    return false;
}

std::vector<SeenBox> messageBoxes(DWORD processId) {
    std::vector<SeenBox> boxes;
    for (HWND window : topWindows(processId)) {
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        if (wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window)) continue;
        wchar_t text[4096] = {};
        GetDlgItemTextW(window, 0xFFFF, text, 4096);  // the static control that holds the text
        boxes.push_back({window, windowTitle(window), text});
    }
    return boxes;
}

std::vector<SeenBox> BoxAnswerer::poll() {
    std::vector<SeenBox> fresh;
    for (const SeenBox& box : messageBoxes(processId_)) {
        const ULONGLONG now = GetTickCount64();
        size_t i = 0;
        while (i < shown_.size() && shown_[i].window != box.window) ++i;
        if (i == shown_.size()) {
            fresh.push_back(box);
            shown_.push_back({box.window, now + delayMs_});
        }
        if (now < shown_[i].answerAt) continue;
        for (int button : buttons_) PostMessageW(box.window, WM_COMMAND, button, 0);
        shown_[i].answerAt = now + 1000;  // again, should this one be missed
    }
    return fresh;
}
