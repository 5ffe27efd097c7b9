// The launcher's warning box as the user meets it, shown in this process under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "launch_decision.h"
#include "thread_window.h"
#include "wait_until.h"
#include "warning_box.h"
#include "window_find.h"

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
