#pragma once
// The launcher's small application framework: an application object with a message loop, a
// frame window with a message map, and the command-line collector's link to the C runtime.
#include <windows.h>

#include "command_line.h"

class FrameWnd;

class WinApp {
public:
    WinApp();
    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;

    // Start-up; returning FALSE ends the program without running the message loop.
    virtual BOOL InitInstance() = 0;

    // Takes one message with GetMessageW and dispatches it. FALSE when the message was WM_QUIT.
    BOOL PumpMessage();

    // Hands the runtime's wide argument vector to info, argument by argument.
    void ParseCommandLine(CommandLineInfo& info);

    // InitInstance, then the message loop until WM_QUIT; returns the quit message's exit code.
    int Run(HINSTANCE instance);

    HINSTANCE instance() const { return instance_; }
    static WinApp* current() { return current_; }

    FrameWnd* m_pMainWnd = nullptr;  // its destruction ends the message loop

protected:
    ~WinApp() = default;

private:
    static WinApp* current_;
    HINSTANCE instance_ = nullptr;
    MSG message_ = {};
};

using MessageHandler = LRESULT (FrameWnd::*)(WPARAM, LPARAM);

// One row of a message map; a map ends with a row whose handler is null.
struct MessageMapEntry {
    UINT message;
    MessageHandler handler;
};

class FrameWnd {
public:
    FrameWnd() = default;
    FrameWnd(const FrameWnd&) = delete;
    FrameWnd& operator=(const FrameWnd&) = delete;

    // Creates the top-level window; rect is left, top, right, bottom.
    BOOL Create(const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect);
    BOOL ShowWindow(int command) { return ::ShowWindow(hwnd_, command); }
    HWND hwnd() const { return hwnd_; }

    // The standard close: destroys the window; for the main window that ends the message loop.
    LRESULT OnClose(WPARAM, LPARAM);

protected:
    ~FrameWnd();
    // Messages without a row here go to DefWindowProcW.
    virtual const MessageMapEntry* messageMap() const;

private:
    friend const wchar_t* registerWindowClass(UINT, HCURSOR, HBRUSH, HICON);
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

// Registers (once) the window class for frame windows with these values and returns its name.
const wchar_t* registerWindowClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon);
