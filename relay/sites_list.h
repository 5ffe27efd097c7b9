#pragma once
#include <string>

// Sorts the supported-sites list of a finished sites-mode run. Returns 0, or 1 when a file cannot be opened.
int sortSupportedSites(const std::wstring& downloaderFolder, const std::wstring& listPath);
