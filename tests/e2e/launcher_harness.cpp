#include "launcher_harness.h"

#include <sstream>

#include "paths.h"
#include "process_run.h"

double nowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long units = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<double>(units) / 10000.0;
}

std::vector<HostStart> readHostStarts(const std::wstring& recordPath) {
    std::vector<HostStart> starts;
    std::istringstream lines(readFileBytes(recordPath));
    std::string line;
    while (std::getline(lines, line)) {
        size_t tab1 = line.find('\t');
        size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        size_t tab3 = line.rfind('\t');  // the command line may hold tabs; the version cannot
        if (tab2 == std::string::npos || tab3 <= tab2) continue;
        HostStart start;
        start.timeMs = static_cast<double>(std::stoull(line.substr(0, tab1))) / 10000.0;
        start.currentDir = fromUtf8(line.substr(tab1 + 1, tab2 - tab1 - 1));
        start.commandLine = fromUtf8(line.substr(tab2 + 1, tab3 - tab2 - 1));
        start.windowsVersion = line.substr(tab3 + 1);
        starts.push_back(start);
    }
    return starts;
}

LauncherInstall::LauncherInstall(const std::wstring& tag, bool withHost) : dir_(tag) {
    copyFileTo(builtProgram(L"launcher.exe"), launcher());
    if (withHost) copyFileTo(builtProgram(L"velvoxapp.exe"), dir_.file(L"velvoxapp.exe"));
}

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments, const std::wstring& currentDir)
    : startMs_(nowMs()) {
    start({program, arguments, currentDir});
}

bool ChildProcess::waitForExit(DWORD timeoutMs) {
    if (!StartedProcess::waitForExit(timeoutMs)) return false;
    if (exitMs_ == 0) exitMs_ = nowMs();
    return true;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* title;  // null: message boxes (class #32770, visible)
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->processId) return TRUE;
    wchar_t text[512] = {};
    if (search->title != nullptr) {
        GetWindowTextW(hwnd, text, 512);
        if (std::wstring(text) == search->title) search->found.push_back(hwnd);
    } else {
        GetClassNameW(hwnd, text, 512);
        if (std::wstring(text) == L"#32770" && IsWindowVisible(hwnd)) search->found.push_back(hwnd);
    }
    return TRUE;
}

std::wstring windowText(HWND hwnd) {
    wchar_t text[2048] = {};
    GetWindowTextW(hwnd, text, 2048);
    return text;
}

}  // namespace

HWND findWindowOf(DWORD processId, const wchar_t* title) {
    WindowSearch search{processId, title, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

bool watchUntilExit(ChildProcess& child, DWORD timeoutMs, std::vector<SeenBox>& boxes,
                    const std::function<void()>& onPoll) {
    double deadline = nowMs() + timeoutMs;
    std::vector<HWND> answered;
    while (!child.waitForExit(20)) {
        if (onPoll) onPoll();
        WindowSearch search{child.processId(), nullptr, {}};
        EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.found) {
            bool known = false;
            for (HWND seen : answered) known = known || seen == box;
            if (known) continue;
            answered.push_back(box);
            wchar_t text[2048] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 2048);
            boxes.push_back({windowText(box), text});
            // Not expected in these runs: answer so the launcher can end and the test can report it.
            PostMessageW(box, WM_COMMAND, IDNO, 0);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        if (nowMs() > deadline) return false;
    }
    if (onPoll) onPoll();
    return true;
}

NestorWindow::NestorWindow() {
    ready_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    thread_.reset(CreateThread(nullptr, 0, run, this, 0, &threadId_));
    WaitForSingleObject(ready_.get(), 10000);
}

NestorWindow::~NestorWindow() {
    if (hwnd_ != nullptr) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_.get(), 10000);
}

namespace {

LRESULT CALLBACK nestorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

DWORD WINAPI NestorWindow::run(void* param) {
    auto* self = static_cast<NestorWindow*>(param);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = nestorProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VelvoxTestNestor";
    RegisterClassW(&windowClass);
    self->hwnd_ = CreateWindowExW(0, windowClass.lpszClassName, L"Nestor", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    SetEvent(self->ready_.get());
    if (self->hwnd_ == nullptr) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

bool waitForNestor(DWORD timeoutMs) {
    double deadline = nowMs() + timeoutMs;
    while (FindWindowW(nullptr, L"Nestor") == nullptr) {
        if (nowMs() > deadline) return false;
        Sleep(20);
    }
    return true;
}

