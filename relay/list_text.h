#pragma once
// Text rules of the relay's list files ("YOUTUBE-DL Supported sites.txt", "Out.txt"):
// single-byte text with CR LF line ends on disk, UTF-16 in memory.
#include <cstddef>
#include <string>

// Encodes one UTF-16 unit above 255 into `out` (room for kMaxUnitBytes); returns the byte count.
// The relay passes the ANSI code page here, so bytes that came from the downloader go back unchanged.
using WideUnitEncoder = size_t (*)(wchar_t unit, char* out);
constexpr size_t kMaxUnitBytes = 4;

// Appends `count` units: a line feed becomes CR LF, a unit below 256 its own byte, any other unit
// what `encodeWide` makes of it ("?" when it is null or makes nothing).
void appendListBytes(std::string& out, const wchar_t* text, size_t count, WideUnitEncoder encodeWide);

// Reads file bytes back: each byte one unit, each CR LF pair one line feed; a lone CR stays.
std::wstring decodeListBytes(const char* bytes, size_t count);
