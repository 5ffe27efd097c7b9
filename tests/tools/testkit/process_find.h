#pragma once
// Finds processes that the program under test starts without handing them back (Notepad through
// the shell); window_find.h finds their windows.
#include <windows.h>

#include <string>
#include <vector>

// The command line a running process was started with; empty when it cannot be read.
// Works for processes of the reader's own bitness.
std::wstring processCommandLine(DWORD processId);

// The full path of a process's executable (a handle with PROCESS_QUERY_LIMITED_INFORMATION);
// empty when it cannot be read.
std::wstring processImage(HANDLE process);

// Running processes of the executable `exeName` (e.g. L"notepad.exe") whose command line holds
// `text`. Parallel tests pass their own folder, so that each finds only what it started.
std::vector<DWORD> findProcesses(const std::wstring& exeName, const std::wstring& text);
