#pragma once
// Finds processes that the program under test starts without handing them back (Notepad through
// the shell), and their windows.
#include <windows.h>

#include <string>
#include <vector>

// The command line a running process was started with; empty when it cannot be read.
// Works for processes of the reader's own bitness.
std::wstring processCommandLine(DWORD processId);

// Running processes of the executable `exeName` (e.g. L"notepad.exe") whose command line holds
// `text`. Parallel tests pass their own folder, so that each finds only what it started.
std::vector<DWORD> findProcesses(const std::wstring& exeName, const std::wstring& text);

// A visible top-level window of the process, waited for up to `timeoutMs`; NULL if none came.
HWND waitForTopWindow(DWORD processId, DWORD timeoutMs);

std::wstring windowTitle(HWND window);

// Waits up to `timeoutMs` for the window's title to hold `part`; returns the last title seen.
std::wstring waitForWindowTitle(HWND window, const std::wstring& part, DWORD timeoutMs);

// Posts WM_CLOSE and waits for the process to end; if it does not, ends it. False in that case.
bool closeWindowAndWait(HWND window, DWORD processId, DWORD timeoutMs);
