#pragma once
// The launcher's command line: the collector that hands over each argument, and the switch table
// that CmdLineInfo fills from them.
#include <cstddef>

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

class CmdLineInfo {
public:
    static const unsigned kSlots = 10;

    // text: the argument without its leading '/' or '-' when isSwitch; isLast: the final argument.
    // Stores the argument in the next free slot. Arguments past the tenth are only counted.
    // A text too long for a slot is dropped: its slot stays empty and is never a switch.
    void ParseParam(const wchar_t* text, bool isSwitch, bool isLast);

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

// Walks argv[1..argc-1] (argv[0] is the program) and calls info.ParseParam for each, the switch
// prefix taken off. Any class with that ParseParam will do, so a test can watch what is handed over.
template <typename Info>
void parseCommandLine(Info& info, int argc, const wchar_t* const* argv) {
    if (argv == nullptr) return;
    for (int i = 1; i < argc; ++i) {
        const wchar_t* text = argv[i] != nullptr ? argv[i] : L"";
        bool isSwitch = text[0] == L'/' || text[0] == L'-';
        info.ParseParam(isSwitch ? text + 1 : text, isSwitch, i == argc - 1);
    }
}
