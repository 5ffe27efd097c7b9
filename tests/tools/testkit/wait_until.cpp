#include "wait_until.h"

bool waitUntil(const std::function<bool()>& ready, DWORD timeoutMs, DWORD pollMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (ready()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(pollMs);
    }
}
