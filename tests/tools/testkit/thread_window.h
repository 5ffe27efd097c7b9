#pragma once
// A top-level window on a thread of its own that pumps its messages, as another program's window
// would be: a host window, a "Nestor", the owner of a message box.
#include <windows.h>

#include <string>
#include <thread>

class ThreadWindow {
public:
    // Registers `className` with `proc` (once), creates the window and waits until it exists.
    // `user` is the window's GWLP_USERDATA, set before anything outside can find the window.
    ThreadWindow(const wchar_t* className, const std::wstring& title, WNDPROC proc, void* user = nullptr);
    ~ThreadWindow();  // closes it: WM_CLOSE, then the thread ends
    ThreadWindow(const ThreadWindow&) = delete;
    ThreadWindow& operator=(const ThreadWindow&) = delete;

    HWND hwnd() const { return window_; }  // null when it could not be created

private:
    std::thread thread_;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
};
