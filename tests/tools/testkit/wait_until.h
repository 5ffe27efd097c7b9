#pragma once
// Waiting for a condition that nothing signals: a file, a window, a process list.
#include <windows.h>

#include <functional>

// Asks `ready` every `pollMs` until it holds or `timeoutMs` has passed; true when it held. It is
// asked once more at the deadline, so that a condition met during the last sleep still counts.
bool waitUntil(const std::function<bool()>& ready, DWORD timeoutMs, DWORD pollMs = 50);
