#pragma once
// Conversions between the downloader's ANSI bytes and UTF-16, and the relay's warning box.
#include <windows.h>

#include <cstddef>
#include <string>

// Bytes in the ANSI code page to UTF-16 (MultiByteToWideChar, CP_ACP). Each byte gives at most one
// unit; a failed conversion gives the empty text.
std::wstring ansiToWide(const char* bytes, size_t count);

// UTF-16 to the ANSI code page (WideCharToMultiByte, CP_ACP), sized to fit, so nothing is cut.
std::string wideToAnsi(const std::wstring& text);

// MessageBoxW with the relay's caption "velvoxdl message", always a task-modal topmost warning.
int warningBox(const wchar_t* text, UINT buttons = MB_OK);

// Narrow text to standard output, flushed so that the console and a redirected reader see it now.
void printNarrow(const char* text, size_t count);
inline void printNarrow(const std::string& text) { printNarrow(text.data(), text.size()); }
