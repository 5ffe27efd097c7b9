#pragma once
// Checks on the Notepad that the relay opens for the supported-sites list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paths.h"
#include "process_find.h"
#include "unique_handle.h"
#include "window_find.h"

// Expects one Notepad started for `listPath` (which lies in the test's own `folder`): the system's
// own, the path as its parameters, unquoted, and its window showing the file. Closes it again.
inline void expectNotepadShowingList(const std::wstring& folder, const std::wstring& listPath) {
    const std::vector<DWORD> found = findProcesses(L"notepad.exe", folder + L"\\");
    ASSERT_EQ(found.size(), 1u) << "one Notepad for " << toUtf8(folder);
    wchar_t windows[MAX_PATH];
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring within = std::wstring(windows, length < MAX_PATH ? length : 0) + L"\\";
    const UniqueHandle notepad(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, found[0]));
    const std::wstring image = processImage(notepad.get());
    EXPECT_TRUE(within.size() > 1 && image.size() > within.size() &&
                _wcsnicmp(image.c_str(), within.c_str(), within.size()) == 0)
        << "not the system's Notepad: " << toUtf8(image);
    const std::wstring commandLine = processCommandLine(found[0]);
    const std::wstring tail = L" " + listPath;
    EXPECT_TRUE(commandLine.size() > tail.size() &&
                commandLine.compare(commandLine.size() - tail.size(), tail.size(), tail) == 0)
        << toUtf8(commandLine);
    HWND window = waitForTopWindow(found[0], 20000);
    ASSERT_NE(window, nullptr) << "no Notepad window";
    // The window comes up as "Untitled" and takes the file's name once it has loaded it; a list of
    // half a megabyte of random bytes took Notepad over 20 s on a loaded machine.
    const std::wstring name = listPath.substr(listPath.find_last_of(L'\\') + 1);
    const std::wstring title = waitForWindowTitle(window, name, 60000);
    EXPECT_NE(title.find(name), std::wstring::npos) << toUtf8(title);
    EXPECT_TRUE(closeWindowAndWait(window, found[0], 20000));
}

// The relay has created the process by the time its step returns, so none now means none.
inline void expectNoNotepad(const std::wstring& folder) {
    EXPECT_TRUE(findProcesses(L"notepad.exe", folder + L"\\").empty());
}

// For tear-down: a Notepad left open by a failed check must not outlive the test.
inline void endNotepadsOf(const std::wstring& folder) {
    for (DWORD id : findProcesses(L"notepad.exe", folder + L"\\")) closeWindowAndWait(nullptr, id, 0);
}
