#pragma once
// Text rules of the relay's list files ("YOUTUBE-DL Supported sites.txt", "Out.txt"):
// single-byte text with CR LF line ends on disk, one UTF-16 unit a byte in memory.
#include <cstddef>
#include <string>

// Appends one read of the downloader's output as the list file holds it: its bytes as they came,
// each line feed as CR LF, a CR already there kept. No code page is involved, so a character cut
// between two reads, or bytes that the code page does not know, reach the file unchanged.
void appendListBytes(std::string& out, const char* bytes, size_t count);

// Reads file bytes back: each byte one unit, each CR LF pair one line feed; a lone CR stays.
std::wstring decodeListBytes(const char* bytes, size_t count);
