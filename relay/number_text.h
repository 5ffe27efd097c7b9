#pragma once
// Reads a command-line number the way the C runtime's _wtol does, without depending on it.
#include <cstdint>

// Leading white space, an optional sign, then decimal digits up to the first non-digit.
// No digits gives 0; values beyond the 32-bit range give the nearest limit.
int32_t readNumber(const wchar_t* text);
