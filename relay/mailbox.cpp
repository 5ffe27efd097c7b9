#include "mailbox.h"

#include "mailbox_text.h"

Mailbox::Opened Mailbox::open(const std::wstring& name) {
    mapping_.reset(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name.c_str()));
    if (!mapping_) return kNoMapping;
    view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kMailboxUnits * sizeof(wchar_t)));
    return view_ ? kOpen : kCannotMap;
}

std::wstring Mailbox::text() const {
    const auto* view = static_cast<const volatile wchar_t*>(view_.get());
    if (view == nullptr) return {};
    // The host may write at any time: take one copy of the view and read only that.
    wchar_t units[kMailboxUnits];
    for (size_t i = 0; i < kMailboxUnits; ++i) units[i] = view[i];
    return mailboxText(units, kMailboxUnits);
}

std::optional<std::wstring> Mailbox::takeCommand(const std::wstring& text) {
    std::optional<std::wstring> command = ::takeCommand(text);
    auto* view = static_cast<volatile wchar_t*>(view_.get());
    if (command && view != nullptr) view[0] = L'\0';
    return command;
}
