#include "thread_window.h"

#include "unique_handle.h"

ThreadWindow::ThreadWindow(const wchar_t* className, const std::wstring& title, WNDPROC proc, void* user) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);  // fails once an earlier window has registered it: fine
    UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    // Waited for without a time-out, so the thread may use what the constructor holds.
    thread_ = std::thread([&] {
        threadId_ = GetCurrentThreadId();
        window_ = CreateWindowExW(0, className, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
        if (window_ != nullptr) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(user));
        SetEvent(ready.get());
        MSG message;
        while (window_ != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    });
    WaitForSingleObject(ready.get(), INFINITE);
}

ThreadWindow::~ThreadWindow() {
    if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
    // Queued behind the close, and ends the loop whatever the window procedure does with it.
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}
