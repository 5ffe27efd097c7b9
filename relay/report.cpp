#include "report.h"

#include <cstdio>

int warningBox(const wchar_t* text, UINT buttons) {
    return MessageBoxW(nullptr, text, L"velvoxdl message", buttons | MB_ICONWARNING | MB_TASKMODAL | MB_TOPMOST);
}

void printNarrow(const char* text, size_t count) {
    fwrite(text, 1, count, stdout);
    fflush(stdout);
}
