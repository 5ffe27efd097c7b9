#pragma once
// Reading the host's mailbox text and taking a downloader command out of it.
#include <cstddef>
#include <optional>
#include <string>

#include "host_contract.h"

// The text up to its NUL; a mailbox with no NUL within `capacity` units is read as all of them,
// never beyond.
std::wstring mailboxText(const wchar_t* units, size_t capacity);

// "_STOP__" anywhere in the text.
bool hasStopMarker(const std::wstring& text);

// The downloader's command line: the text from its first " -o" to the end, leading blank included.
// A text without " -o" is not a command (whether or not it holds a blank) and gives nothing.
std::optional<std::wstring> takeCommand(const std::wstring& text);
