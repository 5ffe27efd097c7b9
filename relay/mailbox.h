#pragma once
// The host's mailbox: shared memory named after the run, where the host writes a command or the
// stop marker and the relay takes the command out.
#include <optional>
#include <string>

#include "unique_handle.h"

class Mailbox {
public:
    enum Opened { kNoMapping, kCannotMap, kOpen };
    Opened open(const std::wstring& name);

    // The text as it is now (empty without a mailbox); never read beyond the view.
    std::wstring text() const;
    // The command in `text` (one copy of the mailbox), if it holds one; the mailbox is then
    // cleared, which tells the host that its command was taken.
    std::optional<std::wstring> takeCommand(const std::wstring& text);

private:
    UniqueHandle mapping_;
    UniqueView view_;
};
