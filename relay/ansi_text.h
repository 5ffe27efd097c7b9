#pragma once
// Conversions between the downloader's ANSI bytes and UTF-16.
#include <cstddef>
#include <string>

#include "text_rules.h"

// Bytes in the ANSI code page to UTF-16 (MultiByteToWideChar, CP_ACP). Each byte gives at most one
// unit; a failed conversion gives the empty text.
std::wstring ansiToWide(const char* bytes, size_t count);

// What the ANSI code page tells about characters cut between reads, asked once.
CodePageFacts ansiCodePageFacts();

// UTF-16 to the ANSI code page (WideCharToMultiByte, CP_ACP), sized to fit, so nothing is cut.
std::string wideToAnsi(const std::wstring& text);
