#pragma once
// The launcher's warning box.

// MessageBoxW with the caption "Corvid startup", always a task-modal topmost warning, with the
// given buttons (MB_OK, MB_YESNO); returns the button pressed.
int warningBox(const wchar_t* text, unsigned buttons);
