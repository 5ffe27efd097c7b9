#include "sites_step.h"

#include <algorithm>
#include <cstdio>

#include "ansi_text.h"
#include "list_file.h"
#include "sites_entries.h"
#include "text_rules.h"

namespace {

// The path goes out in the ANSI code page, like the rest of the relay's console text. Flushed at
// once: the relay may end through ExitProcess right after.
void reportOpenFailure(const std::wstring& path) {
    std::fputs("Error: Could not open ", stderr);
    std::fputs(wideToAnsi(path).c_str(), stderr);
    std::fputs("\n", stderr);
    std::fflush(stderr);
}

using FolderFunction = UINT(WINAPI*)(LPWSTR, UINT);

// `name` in one of the system's folders; empty when the folder cannot be read.
std::wstring systemFile(FolderFunction folderOf, const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = folderOf(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(folder, length) + L"\\" + name;
}

// The system's Notepad by full path: for a bare "notepad" the shell looks in the current folder
// first, which is where downloads land. The system folder's copy is the one the shell then picks
// (for a 32-bit relay on 64-bit Windows the 32-bit one, through the folder's redirection); the
// Windows folder's only where that is missing. Empty when neither is there or a folder cannot be
// read.
std::wstring systemNotepad() {
    for (FolderFunction folderOf : {GetSystemDirectoryW, GetSystemWindowsDirectoryW}) {
        const std::wstring path = systemFile(folderOf, L"notepad.exe");
        if (path.empty()) return {};
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return path;
    }
    return {};
}

// The shell is loaded here, when a list is shown, rather than imported: download runs never show
// one and are spared its start-up time and memory. It stays loaded, because ShellExecuteW may leave
// work of its own running in this process. A Notepad that cannot be found or started is not
// reported: the user still has the list file.
void openInNotepad(const std::wstring& listPath) {
    const std::wstring notepad = systemNotepad();
    const std::wstring shellPath = systemFile(GetSystemDirectoryW, L"shell32.dll");
    if (notepad.empty() || shellPath.empty()) return;
    const HMODULE shell = LoadLibraryW(shellPath.c_str());
    if (shell == nullptr) return;
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    // Through void (*)(), which converts to any function pointer type without a warning.
    const auto shellExecute = reinterpret_cast<ShellExecuteFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(shell, "ShellExecuteW")));
    if (shellExecute == nullptr) return;
    // The path goes unquoted: Notepad takes the rest of its command line as the file name.
    shellExecute(nullptr, L"open", notepad.c_str(), listPath.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace

int sortSupportedSites(const std::wstring& downloaderFolder, const std::wstring& listPath) {
    const std::wstring sortedPath = downloaderFolder + L"\\Out.txt";

    UniqueHandle source = openListForReading(listPath);
    if (!source) {
        reportOpenFailure(listPath);
        return 1;
    }
    UniqueHandle sorted = openListForWriting(sortedPath);
    if (!sorted) {
        reportOpenFailure(sortedPath);
        return 1;
    }

    std::string bytes;
    const bool readWhole = readAllBytes(source.get(), bytes);
    SiteEntries entries(decodeListBytes(bytes.data(), bytes.size()));
    std::string().swap(bytes);
    entries.sort();

    const bool writtenWhole = writeAllBytes(sorted.get(), entries.listBytes());
    sorted.reset();
    source.reset();

    if (!replacesList(entries.count())) return 0;
    // A sorted copy that is short of the list must not replace it: the list stays as the
    // downloader wrote it, and so does "Out.txt" for a look at what went wrong. A failed copy is
    // not reported, and "Out.txt" stays with the sorted list.
    if (readWhole && writtenWhole && CopyFileW(sortedPath.c_str(), listPath.c_str(), FALSE)) {
        DeleteFileW(sortedPath.c_str());
    }
    openInNotepad(listPath);
    return 0;
}
