#include "sites_step.h"

#include <algorithm>
#include <cstdio>

#include "ansi_text.h"
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

// The shell is loaded here, when a list is shown, rather than imported: download runs never show
// one and are spared its start-up time and memory. It stays loaded, because ShellExecuteW may leave
// work of its own running in this process.
void openInNotepad(const std::wstring& listPath) {
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const HMODULE shell = LoadLibraryW((std::wstring(system, length) + L"\\shell32.dll").c_str());
    if (shell == nullptr) return;
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    // Through void (*)(), which converts to any function pointer type without a warning.
    const auto shellExecute = reinterpret_cast<ShellExecuteFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(shell, "ShellExecuteW")));
    if (shellExecute == nullptr) return;
    // The path goes unquoted: Notepad takes the rest of its command line as the file name.
    shellExecute(nullptr, L"open", L"notepad", listPath.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace

UniqueHandle openListForReading(const std::wstring& path) {
    return UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

UniqueHandle openListForWriting(const std::wstring& path) {
    return UniqueHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool readAllBytes(HANDLE file, std::string& bytes) {
    bytes.clear();
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) bytes.reserve(size_t(size.QuadPart));
    char buffer[1 << 16];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) return false;
        if (got == 0) return true;
        bytes.append(buffer, got);
    }
}

bool writeAllBytes(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        // WriteFile takes a 32-bit count; large texts go in slices.
        const DWORD slice = DWORD(std::min<size_t>(bytes.size() - done, 1u << 24));
        DWORD put = 0;
        if (!WriteFile(file, bytes.data() + done, slice, &put, nullptr) || put == 0) return false;
        done += put;
    }
    return true;
}

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
    // downloader wrote it, and so does "Out.txt" for a look at what went wrong.
    if (readWhole && writtenWhole) {
        // A failed copy or Notepad start is not reported: the user still has the list file.
        CopyFileW(sortedPath.c_str(), listPath.c_str(), FALSE);
        DeleteFileW(sortedPath.c_str());
    }
    openInNotepad(listPath);
    return 0;
}
