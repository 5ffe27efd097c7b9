#include "run_record.h"

#include "mailbox_text.h"

namespace {

// The registration happens during static initialisation, before wmain.
const UINT registeredMessage = RegisterWindowMessageW(L"youtube-dl message");

}  // namespace

UINT youtubeDlMessage() { return registeredMessage; }

RunRecord& run() {
    static RunRecord* record = new RunRecord;
    return *record;
}

std::wstring readMailboxText() {
    const auto* view = static_cast<const volatile wchar_t*>(run().mailboxView.get());
    if (view == nullptr) return {};
    // The host may write at any time: take one copy of the view and read only that.
    wchar_t units[kMailboxUnits];
    for (size_t i = 0; i < kMailboxUnits; ++i) units[i] = view[i];
    return mailboxText(units, kMailboxUnits);
}

void clearMailbox() {
    auto* view = static_cast<volatile wchar_t*>(run().mailboxView.get());
    if (view != nullptr) view[0] = L'\0';
}

void closeListFile() {
    UniqueHandle taken(run().listFile.exchange(nullptr));
}
