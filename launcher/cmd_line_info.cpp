#include "cmd_line_info.h"

#include <cwchar>

#include "wide_text.h"

void CmdLineInfo::ParseParam(const wchar_t* text, bool isSwitch, bool isLast) {
    if (count_ < kSlots) {
        SwitchSlot& slot = slots_[count_];
        bool fits = text != nullptr && std::wcslen(text) < SwitchSlot::kTextUnits;
        copyText(slot.text, SwitchSlot::kTextUnits, fits ? text : L"");
        slot.isSwitch = fits && isSwitch;
        slot.isLast = isLast;
    }
    if (count_ != ~0u) ++count_;
}

LaunchSwitches CmdLineInfo::switches() const {
    LaunchSwitches result;
    for (unsigned i = 0; i < storedCount(); ++i) {
        const SwitchSlot& slot = slots_[i];
        if (!slot.isSwitch) continue;
        if (sameText(slot.text, L"installer")) {
            result.installer = true;
        } else if (sameText(slot.text, L"restart")) {
            result.restartMode = kRestart;
        } else if (sameText(slot.text, L"restore")) {
            result.restartMode = kRestore;
        }
    }
    return result;
}
