#pragma once
// The launcher's switch table, filled argument by argument by the command-line collector.
#include <cstddef>

#include "command_line.h"

enum RestartMode { kNoRestart = 0, kRestart = 1, kRestore = 2 };

// What the switches ask of this run.
struct LaunchSwitches {
    bool installer = false;
    int restartMode = kNoRestart;
};

struct SwitchSlot {
    static const size_t kTextUnits = 100;  // 99 characters and the terminator
    wchar_t text[kTextUnits];
    bool isSwitch;
    bool isLast;
};

class CmdLineInfo : public CommandLineInfo {
public:
    static const unsigned kSlots = 10;

    // Stores the argument in the next free slot. Arguments past the tenth are only counted.
    // A text too long for a slot is dropped: its slot stays empty and is never a switch.
    void ParseParam(const wchar_t* text, bool isSwitch, bool isLast) override;

    unsigned argumentCount() const { return count_; }
    unsigned storedCount() const { return count_ < kSlots ? count_ : kSlots; }
    const SwitchSlot& slot(unsigned index) const { return slots_[index]; }

    // Reads /installer, /restart and /restore from the stored slots, in order; the last
    // restart switch wins. Names are case-sensitive and count only as switches.
    LaunchSwitches switches() const;

private:
    SwitchSlot slots_[kSlots] = {};
    unsigned count_ = 0;
};
