#pragma once
// The record that each stand-in (the downloader youtube-dl.exe, the host velvoxapp.exe) keeps of
// what it saw, for the test to check; and the downloader's script beside it.
#include <string>
#include <utility>
#include <vector>

constexpr wchar_t kStandinScript[] = L"standin.txt";
constexpr wchar_t kStandinRecord[] = L"standin-record.bin";

// The record: "key\0value\0" pairs in UTF-16, appended as the stand-in goes; binary-safe for
// command lines. Each launch begins with "start". The downloader's keys: "start" (process id),
// "module", "commandline", "currentdir", "consoletitle", "stdin" ("waiting" or "ended"), "flood"
// ("<first> <last>"). The host's: "start" (system time as a FILETIME), "currentdir",
// "commandline", "windowsversion" (major.minor, as GetVersionExW tells it).
using StandinRecord = std::vector<std::pair<std::wstring, std::wstring>>;

// Copies the stand-in (`program`; empty: the built youtube-dl.exe) into `folder` as youtube-dl.exe,
// with its script.
bool installStandin(const std::wstring& folder, const std::string& script, const std::wstring& program = {});

// One write, so that fields land together even when several launches append at once.
bool appendStandinFields(const std::wstring& recordPath, const StandinRecord& fields);
StandinRecord readStandinRecord(const std::wstring& recordPath);

// Values of one key in order (one per launch for the per-launch keys).
std::vector<std::wstring> standinValues(const StandinRecord& record, const std::wstring& key);

// Script lines, one command each:
//   lockstep <semaphore> <ms>   after each write, wait (up to ms each) for the host to take each of
//                               its lines: the host releases the semaphore once a line
//   write <hex>                 one WriteFile of those bytes to standard output
//   sleep <ms>
//   stream <seed> <bytes> <piece> <hex>  ByteStream(seed, excluded bytes in hex) in writes of piece bytes
//   replay <file>               the recording's writes at their times, each LF as CR LF
//   flood <bytes> <size>        that many bytes of progress lines (CR, no LF) in writes of size
//                               bytes, as fast as they go; records "flood": the performance
//                               counter before the first write and after the last
//   stamp <count> <ms>          count lines "[probe] <n> <counter>\n", ms apart, each carrying the
//                               performance counter read just before its write
//   stdin <ms>                  read standard input for ms and record whether it ended
//   exit <code>
