// Taking the command out of a mailbox: any 4096 bytes are read within the view, and a command is
// exactly the text from the first " -o" to the end, taken only when there is one.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "mailbox_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The view as the host left it: UTF-16 units, the rest of the 4096 bytes as they happen to be.
    std::vector<wchar_t> view(kMailboxUnits, L'x');
    const size_t units = size / 2 < kMailboxUnits ? size / 2 : kMailboxUnits;
    for (size_t i = 0; i < units; ++i) view[i] = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));

    const std::wstring text = mailboxText(view.data(), view.size());
    if (text.size() > kMailboxUnits) abort();
    if (text.find(L'\0') != std::wstring::npos) abort();
    if (text.size() < kMailboxUnits && view[text.size()] != L'\0') abort();

    const std::optional<std::wstring> command = takeCommand(text);
    const size_t start = text.find(L" -o");
    if (start == std::wstring::npos) {
        if (command) abort();
    } else {
        if (!command || *command != text.substr(start)) abort();
        if (command->compare(0, 3, L" -o") != 0) abort();
    }
    if (hasStopMarker(text) != (text.find(L"_STOP__") != std::wstring::npos)) abort();
    return 0;
}
