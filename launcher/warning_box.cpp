#include "warning_box.h"

#include <windows.h>

int warningBox(const wchar_t* text, unsigned buttons) {
    return MessageBoxW(nullptr, text, L"Corvid startup", buttons | MB_ICONWARNING | MB_TASKMODAL | MB_TOPMOST);
}
