#include "app_framework.h"

#include <cstdlib>

WinApp* WinApp::current_ = nullptr;

namespace {

// The application's instance, or the program's own before the application has run.
HINSTANCE moduleInstance() { return WinApp::current() ? WinApp::current()->instance() : GetModuleHandleW(nullptr); }

}  // namespace

WinApp::WinApp() { current_ = this; }

BOOL WinApp::PumpMessage() {
    BOOL got = GetMessageW(&message_, nullptr, 0, 0);
    if (got == 0) return FALSE;  // WM_QUIT
    if (got == -1) return TRUE;  // nothing was taken; there is nothing to dispatch
    TranslateMessage(&message_);
    DispatchMessageW(&message_);
    return TRUE;
}

void WinApp::ParseCommandLine(CommandLineInfo& info) { parseCommandLine(info, __argc, __wargv); }

int WinApp::Run(HINSTANCE instance) {
    instance_ = instance;
    if (!InitInstance()) return 0;
    while (PumpMessage()) {
    }
    return static_cast<int>(message_.wParam);
}

FrameWnd::~FrameWnd() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

BOOL FrameWnd::Create(const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect) {
    // The window procedure picks `this` up from the creation parameters.
    return CreateWindowExW(0, className, title, style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, nullptr, nullptr, moduleInstance(), this) != nullptr;
}

LRESULT FrameWnd::OnClose(WPARAM, LPARAM) {
    DestroyWindow(hwnd_);
    return 0;
}

const MessageMapEntry* FrameWnd::messageMap() const {
    static const MessageMapEntry none[] = {{0, nullptr}};
    return none;
}

LRESULT CALLBACK FrameWnd::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameWnd* self = reinterpret_cast<FrameWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<FrameWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);

    if (message == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        WinApp* app = WinApp::current();
        if (app != nullptr && app->m_pMainWnd == self) {
            app->m_pMainWnd = nullptr;
            PostQuitMessage(0);
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    for (const MessageMapEntry* entry = self->messageMap(); entry->handler != nullptr; ++entry) {
        if (entry->message == message) return (self->*(entry->handler))(wParam, lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t* registerWindowClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon) {
    static const wchar_t name[] = L"VelvoxFrame";
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass = {};
        windowClass.style = style;
        windowClass.lpfnWndProc = FrameWnd::windowProc;
        windowClass.hInstance = moduleInstance();
        windowClass.hIcon = icon;
        windowClass.hCursor = cursor;
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = name;
        registered = RegisterClassW(&windowClass) != 0;
    }
    return name;
}
