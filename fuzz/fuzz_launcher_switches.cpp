// The launcher's command line: any arguments are collected without overrunning a slot, and the
// switches read back agree with a plain reading of the first ten arguments.
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "cmd_line_info.h"
#include "install_folder.h"

namespace {

// Input: UTF-16 units (two bytes each); a zero unit separates arguments.
std::vector<std::wstring> argumentsOf(const uint8_t* data, size_t size) {
    std::vector<std::wstring> args(1);
    for (size_t i = 0; i + 1 < size; i += 2) {
        wchar_t unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0) {
            args.emplace_back();
        } else {
            args.back() += unit;
        }
    }
    return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::wstring> args = argumentsOf(data, size);
    std::vector<const wchar_t*> argv{L"launcher.exe"};
    for (const std::wstring& arg : args) argv.push_back(arg.c_str());

    CmdLineInfo info;
    parseCommandLine(info, static_cast<int>(argv.size()), argv.data());
    if (info.argumentCount() != args.size()) abort();

    LaunchSwitches expected;
    for (size_t i = 0; i < args.size() && i < CmdLineInfo::kSlots; ++i) {
        const std::wstring& arg = args[i];
        const SwitchSlot& slot = info.slot(static_cast<unsigned>(i));
        if (std::wcslen(slot.text) >= SwitchSlot::kTextUnits) abort();
        if (slot.isLast != (i + 1 == args.size())) abort();
        if (arg.empty() || (arg[0] != L'/' && arg[0] != L'-')) continue;
        const std::wstring name = arg.substr(1);
        if (name == L"installer") expected.installer = true;
        if (name == L"restart") expected.restartMode = kRestart;
        if (name == L"restore") expected.restartMode = kRestore;
    }
    LaunchSwitches got = info.switches();
    if (got.installer != expected.installer || got.restartMode != expected.restartMode) abort();

    // The same units as a module path: the install folder fits its buffer and is terminated.
    wchar_t folder[260];
    installFolderOf(args[0].c_str(), folder, 260);
    if (std::wcslen(folder) >= 260) abort();
    return 0;
}
