#pragma once
// The list files of a sites-mode run on disk ("YOUTUBE-DL Supported sites.txt", "Out.txt"): opened
// as the C runtime's modes "r" and "w" open them, and read and written whole as bytes;
// text_rules.h gives the bytes their meaning.
#include <string>

#include "unique_handle.h"

// Reading an existing file, or writing a file that is created or emptied. Empty on failure.
UniqueHandle openListForReading(const std::wstring& path);
UniqueHandle openListForWriting(const std::wstring& path);

// False when a read or write fails part-way; `bytes` then holds what was read before.
bool readAllBytes(HANDLE file, std::string& bytes);
bool writeAllBytes(HANDLE file, const std::string& bytes);
