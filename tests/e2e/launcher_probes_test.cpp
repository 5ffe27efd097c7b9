// The real probes, the real pumping wait, the warning box and the elevated relaunch, run in this
// process under Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "launcher_harness.h"  // windows.h first, for shellapi.h

#include <shellapi.h>

#include "launch_decision.h"
#include "paths.h"
#include "probes.h"
#include "pumping_wait.h"
#include "thread_window.h"
#include "wait_until.h"
#include "warning_box.h"

namespace {

int received = 0;

LRESULT CALLBACK countingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) ++received;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

// The other launcher tests start the host directly; this is why, in numbers.
TEST(LauncherProbes, AnswersUnderThisSystemLeadToTheDirectStart) {
    int matches = adminNameMatches();
    bool elevated = tokenIsElevated();
    bool modern = isModernWindows();
    std::printf("group scan: %d match(es); token check: %s; Windows generation: %s\n", matches,
                elevated ? "elevated" : "not elevated", modern ? "modern (Vista or later)" : "older than Vista");
    RecordProperty("adminNameMatches", matches);
    RecordProperty("elevated", elevated);
    RecordProperty("modern", modern);
    EXPECT_FALSE(matches == 1 && !elevated) << "this system would take the elevated relaunch";
    EXPECT_TRUE(modern);
    EXPECT_EQ(isModernWindows(), modern) << "a second look gives the same answer";
}

TEST(LauncherPumpingWait, LastsAtLeastTheTimeAndFiftyMoreTicks) {
    // The tick count moves in steps (15.6 ms on Windows; irregular under Wine, where a 50 ms sleep
    // was seen as 43 to 64 ticks), so a reading from outside may lag the wait's own by one step.
    const DWORD tickStep = 16;
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    DWORD start = GetTickCount();
    QueryPerformanceCounter(&before);
    pumpingWait(500);
    QueryPerformanceCounter(&after);
    DWORD ticks = GetTickCount() - start;
    double ms = double(after.QuadPart - before.QuadPart) * 1000.0 / double(frequency.QuadPart);
    EXPECT_GE(ticks, 550u - tickStep);
    EXPECT_GE(ms, 550.0 - tickStep);
    EXPECT_LT(ms, 2000.0);
}

TEST(LauncherPumpingWait, DispatchesPostedMessagesWhileWaiting) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = countingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PumpingWaitTest";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 3; ++i) PostMessageW(window, WM_APP, 0, 0);
    pumpingWait(100);
    EXPECT_EQ(received, 3);
    DestroyWindow(window);
}

TEST(LauncherPumpingWait, QuitEndsItAtOnceAndStaysQueued) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
    PostQuitMessage(0);
    DWORD start = GetTickCount();
    pumpingWait(5000);
    EXPECT_LT(GetTickCount() - start, 500u);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
    EXPECT_EQ(message.wParam, 0u);
    // The launcher's own loop would end on it: pumpMessage reports the quit.
    PostQuitMessage(0);
    EXPECT_FALSE(pumpMessage());
}

namespace {

// A message box as the user meets it.
struct ShownBox {
    std::wstring caption, text;
    std::vector<int> buttons;  // the ids of the buttons it offers
    bool warningIcon = false;
    bool topmost = false;
    bool threadWindowDisabled = false;  // task-modal: the other windows of its thread take no input
};

BOOL CALLBACK findIcon(HWND child, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Static") != 0 || (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    *reinterpret_cast<HICON*>(found) = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    return FALSE;
}

bool runsUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

struct BoxCall {
    unsigned buttons;
    int result = -1;
};

// Shows the launcher's warning box on WM_APP, from the window's own thread.
LRESULT CALLBACK boxOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP) return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* call = reinterpret_cast<BoxCall*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    call->result = warningBox(L"Is this the warning?", call->buttons);
    return 0;
}

// Shows the launcher's warning box on a thread that owns a window of its own, reads the box as
// it stands, answers it with `answer` and hands back what warningBox returned.
int showReadAndAnswer(unsigned buttons, int answer, ShownBox& shown) {
    BoxCall call{buttons};
    auto owner = std::make_unique<ThreadWindow>(L"VelvoxTestBoxOwner", L"box owner thread", boxOwnerProc, &call);
    PostMessageW(owner->hwnd(), WM_APP, 0, 0);
    std::vector<SeenBox> boxes;
    waitUntil([&] { return !(boxes = messageBoxes(GetCurrentProcessId())).empty(); }, 10000, 20);
    if (!boxes.empty()) {
        const HWND box = boxes.front().window;
        shown.caption = boxes.front().caption;
        shown.text = boxes.front().text;
        for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
            HWND button = GetDlgItem(box, id);
            if (button != nullptr && IsWindowVisible(button)) shown.buttons.push_back(id);
        }
        HICON icon = nullptr;
        EnumChildWindows(box, findIcon, reinterpret_cast<LPARAM>(&icon));
        shown.warningIcon = icon != nullptr && icon == LoadIconW(nullptr, IDI_WARNING);
        shown.topmost = (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        shown.threadWindowDisabled = owner->hwnd() != nullptr && !IsWindowEnabled(owner->hwnd());
        PostMessageW(box, WM_COMMAND, answer, 0);
    }
    owner.reset();  // joins its thread, which the answered box has let go
    return call.result;
}

}  // namespace

TEST(LauncherWarningBox, ShowsCorvidStartupAsATaskModalWarningWithItsButtonsAndReturnsTheAnswer) {
    const struct {
        unsigned buttons;
        std::vector<int> offered;
        int answer;
    } rows[] = {
        {kBoxYesNo, {IDYES, IDNO}, IDYES},
        {kBoxYesNo, {IDYES, IDNO}, IDNO},
        {kBoxOk, {IDOK}, IDOK},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "buttons " << row.buttons << ", answer " << row.answer);
        ShownBox shown;
        EXPECT_EQ(showReadAndAnswer(row.buttons, row.answer, shown), row.answer);
        EXPECT_EQ(shown.caption, L"Corvid startup");
        EXPECT_EQ(shown.text, L"Is this the warning?");
        EXPECT_EQ(shown.buttons, row.offered);
        EXPECT_TRUE(shown.warningIcon);
        EXPECT_TRUE(shown.threadWindowDisabled);
        // Wine's message box leaves MB_TOPMOST out of the window's style; Windows sets WS_EX_TOPMOST.
        if (!runsUnderWine()) {
            EXPECT_TRUE(shown.topmost);
        }
    }
}

TEST(LauncherRelaunch, RunasStartsTheProgramInTheCurrentFolderWithTheSwitchItWasGiven) {
    const struct {
        LaunchSwitches switches;
        const wchar_t* argument;  // what the started program finds after its own path; null: nothing
    } rows[] = {
        {{false, kNoRestart}, nullptr},
        {{true, kNoRestart}, L"/installer"},
        {{true, kRestart}, L"/restart"},
        {{false, kRestore}, L"/restart"},
    };
    wchar_t current[MAX_PATH * 4];
    const DWORD currentLength = GetCurrentDirectoryW(MAX_PATH * 4, current);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "expected argument " << toUtf8(row.argument ? row.argument : L"(none)"));
        // The stand-in host records how it was started.
        LauncherInstall install(L"runas");
        const std::wstring program = install.folder() + L"\\velvoxapp.exe";
        ASSERT_TRUE(startElevated(program.c_str(), relaunchParameters(row.switches)));
        for (int i = 0; i < 500 && install.hostStarts().empty(); ++i) Sleep(20);
        const std::vector<HostStart> starts = install.hostStarts();
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(_wcsicmp(starts[0].currentDir.c_str(), std::wstring(current, currentLength).c_str()), 0)
            << toUtf8(starts[0].currentDir);
        int argc = 0;
        wchar_t** argv = CommandLineToArgvW(starts[0].commandLine.c_str(), &argc);
        ASSERT_NE(argv, nullptr);
        EXPECT_EQ(_wcsicmp(argv[0], program.c_str()), 0) << toUtf8(argv[0]);
        EXPECT_EQ(argc, row.argument ? 2 : 1) << toUtf8(starts[0].commandLine);
        if (row.argument != nullptr && argc == 2) {
            EXPECT_STREQ(argv[1], row.argument);
        }
        LocalFree(argv);
    }
}
