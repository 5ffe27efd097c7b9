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

// Started by the relay but for the user: it breaks away from a job that the host runs the relay
// in, so that closing the job does not close the list the user is reading. A job that allows no
// breakaway refuses the flag; Notepad then starts in the job rather than not at all. A Notepad that
// cannot be found or started is not reported: the user still has the list file.
void openInNotepad(const std::wstring& listPath) {
    const std::wstring notepad = systemNotepad();
    if (notepad.empty()) return;
    // The path goes unquoted: Notepad takes the rest of its command line as the file name.
    const std::wstring commandLine = L"\"" + notepad + L"\" " + listPath;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    for (const DWORD flags : {DWORD{CREATE_BREAKAWAY_FROM_JOB}, DWORD{0}}) {
        std::wstring writable = commandLine;  // CreateProcessW may write into it
        PROCESS_INFORMATION process{};
        if (CreateProcessW(notepad.c_str(), &writable[0], nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                           &process)) {
            UniqueHandle started(process.hProcess), thread(process.hThread);
            return;
        }
    }
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
