#pragma once
// Text rules of the downloader's output: what of one read is relayed, and how the list files
// ("YOUTUBE-DL Supported sites.txt", "Out.txt") hold it: single-byte text with CR LF line ends on
// disk, one UTF-16 unit a byte in memory.
#include <array>
#include <cstddef>
#include <string>

// A read counts as narrow text ended after its bytes, so a NUL byte ends it early.
size_t chunkTextLength(const char* bytes, size_t count);

// What the ANSI code page tells about a character cut at the end of a read.
struct CodePageFacts {
    enum class Kind { SingleByte, DoubleByte, Utf8 };
    Kind kind = Kind::SingleByte;
    std::array<bool, 256> leadBytes{};  // DoubleByte only

    // A double-byte code page from its lead-byte ranges as CPINFO::LeadByte holds them: pairs of
    // first and last byte, ended by a pair of zeros or by the end of `count` bytes.
    static CodePageFacts doubleByte(const unsigned char* ranges, size_t count);
    static CodePageFacts utf8();
};

// A read can end inside a character of several bytes, which converted on its own would reach the
// host as two wrong characters. Returns how many bytes at the end of `text` begin a character that
// the text does not finish: in a double-byte code page a last byte that is a lead byte (scanning
// from the start, a byte after a lead byte is its trail byte, whatever its value); in UTF-8 a lead
// byte C2-F4 followed by fewer continuation bytes than it announces. 0 to 3, and 0 in any other
// code page.
size_t unfinishedCharacterBytes(const CodePageFacts& codePage, const char* text, size_t count);

// Calls send(line, units) for each line relay message that one converted read gives: each part
// that ends at a line feed, without it, then the part after the last line feed unless that is
// empty. A text without a line feed is one message, the empty text too. Only LF separates lines:
// carriage returns stay in.
template <typename Send>
void forEachRelayedLine(const wchar_t* text, size_t count, Send send) {
    size_t from = 0;
    for (size_t i = 0; i < count; ++i) {
        if (text[i] != L'\n') continue;
        send(text + from, i - from);
        from = i + 1;
    }
    if (from < count || from == 0) send(text + from, count - from);
}

// Appends one read of the downloader's output as the list file holds it: its bytes as they came,
// each line feed as CR LF, a CR already there kept. No code page is involved, so a character cut
// between two reads, or bytes that the code page does not know, reach the file unchanged.
void appendListBytes(std::string& out, const char* bytes, size_t count);

// Reads file bytes back: each byte one unit, each CR LF pair one line feed; a lone CR stays.
std::wstring decodeListBytes(const char* bytes, size_t count);
