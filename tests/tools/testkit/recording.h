#pragma once
// A downloader's recorded output: `{"exit_code": n, "writes": [[seconds, "hex"], ...]}` (the exit
// code is not replayed).
#include <string>
#include <vector>

struct RecordedWrite {
    double seconds = 0;   // since the downloader started
    std::string bytes;
};

struct Recording {
    bool ok = false;
    std::vector<RecordedWrite> writes;
};

Recording parseRecording(const std::string& json);

// What a Windows build's text-mode stream puts in the pipe: each LF as CR LF.
std::string withCrLf(const std::string& bytes);
// UTF-8 text as a Windows build of the downloader prints it: ANSI code page, each LF as CR LF.
std::string windowsPrinted(const std::string& utf8);

// The lines the host should get for reads of the downloader's output, worked out independently,
// read by read: a read up to its first NUL byte, after the bytes held from the read before; less a
// character that it does not finish in the ANSI code page, held for the next read when no NUL
// ended it; through the code page, cut at each LF (CRs kept); the part after the last LF only when
// it is not empty; a read without LF is one line, even empty, unless it was all held.
class ExpectedLines {
public:
    std::vector<std::wstring> read(const std::string& bytes);
    // The bytes still held when the output ends, as one line of their own.
    std::vector<std::wstring> end();

private:
    std::string held_;
};
// All the lines for reads that end the output.
std::vector<std::wstring> relayedLinesOf(const std::vector<std::string>& reads);

// What the relay passes on for a recording that the stand-in downloader replays (writing each LF as
// CR LF), each write its own read: the host's lines, in order, and the relay's console echo,
// before its closing line.
struct RelayedRecording {
    std::vector<std::wstring> lines;
    std::string echo;
};
RelayedRecording relayedFor(const Recording& recording);

std::string toHex(const std::string& bytes);
std::string fromHex(const std::string& hex);
