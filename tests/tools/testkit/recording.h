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

// The host's lines for reads of the downloader's output, worked out independently: held bytes, then
// the read up to a NUL, less an unfinished last character when no NUL came; through the ANSI code
// page, cut at each LF (CRs kept); a last part only if not empty, or if there is no LF and no hold.
class ExpectedLines {
public:
    // Appends the lines of one more read; returns how many.
    size_t read(const std::string& bytes, std::vector<std::wstring>& lines);
    // Appends the bytes still held when the output ends, as one line.
    void end(std::vector<std::wstring>& lines);

private:
    std::string held_;
};
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
