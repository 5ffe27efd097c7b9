#pragma once
// The supported-sites list of a sites-mode run: its file on disk, and the step that sorts it once
// the downloader is done. Files are read and written whole as bytes; text_rules.h gives the bytes
// their meaning.
#include <string>

#include "unique_handle.h"

// Opens as the C runtime's modes "r" and "w" do: reading an existing file, or writing a file
// that is created or emptied. Empty on failure.
UniqueHandle openListForReading(const std::wstring& path);
UniqueHandle openListForWriting(const std::wstring& path);

// False when a read or write fails part-way; `bytes` then holds what was read before.
bool readAllBytes(HANDLE file, std::string& bytes);
bool writeAllBytes(HANDLE file, const std::string& bytes);

// Sorts the list into "Out.txt" and, for a long list, puts it back and shows it in Notepad.
// Returns 0, or 1 when a file cannot be opened.
int sortSupportedSites(const std::wstring& downloaderFolder, const std::wstring& listPath);
