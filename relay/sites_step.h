#pragma once
// The supported-sites step of a sites-mode run: sorts the list once the downloader is done.
#include <string>

// Sorts the list into "Out.txt" and, for a long list, puts it back and shows it in Notepad.
// Returns 0, or 1 when a file cannot be opened.
int sortSupportedSites(const std::wstring& downloaderFolder, const std::wstring& listPath);
