#include "install_folder.h"

#include <cwchar>

#include "wide_text.h"

namespace {

const size_t kDriveUnits = 2;
const size_t kDirectoryUnits = 255;

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

void installFolderOf(const wchar_t* modulePath, wchar_t* folder, size_t cap) {
    copyText(folder, cap, L"");
    if (modulePath == nullptr) return;
    size_t length = std::wcslen(modulePath);
    size_t driveLength = (length >= 2 && modulePath[1] == L':') ? kDriveUnits : 0;
    size_t end = length;  // one past the last separator, or the drive's end when there is none
    while (end > driveLength && !isSeparator(modulePath[end - 1])) --end;
    size_t directoryLength = end - driveLength;
    if (directoryLength > kDirectoryUnits) return;

    wchar_t joined[kDriveUnits + kDirectoryUnits + 1];
    size_t at = 0;
    for (size_t i = 0; i < end; ++i) joined[at++] = modulePath[i];
    joined[at] = L'\0';
    copyText(folder, cap, joined);
    size_t stored = std::wcslen(folder);
    if (stored > 0 && folder[stored - 1] == L'\\') folder[stored - 1] = L'\0';
}

void currentFolderFor(const wchar_t* folder, wchar_t* out, size_t cap) {
    copyText(out, cap, folder);
    if (folder != nullptr && std::wcslen(folder) == 2 && folder[1] == L':') appendText(out, cap, L"\\");
}
