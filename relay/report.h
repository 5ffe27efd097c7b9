#pragma once
// How the relay tells its user: the warning box and the console echo.
#include <windows.h>

#include <cstddef>
#include <string>

// MessageBoxW with the relay's caption "velvoxdl message", always a task-modal topmost warning.
int warningBox(const wchar_t* text, UINT buttons = MB_OK);

// Narrow text to standard output, flushed so that the console and a redirected reader see it now.
void printNarrow(const char* text, size_t count);
inline void printNarrow(const std::string& text) { printNarrow(text.data(), text.size()); }
