#include "command_line.h"

void parseCommandLine(CommandLineInfo& info, int argc, const wchar_t* const* argv) {
    if (argv == nullptr) return;
    for (int i = 1; i < argc; ++i) {
        const wchar_t* text = argv[i] != nullptr ? argv[i] : L"";
        bool isSwitch = text[0] == L'/' || text[0] == L'-';
        info.ParseParam(isSwitch ? text + 1 : text, isSwitch, i == argc - 1);
    }
}
