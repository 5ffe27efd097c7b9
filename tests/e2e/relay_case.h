#pragma once
// One relay run for an end-to-end test: its own host and job numbers, its own folders (a
// downloader folder and a separate current folder), the stand-in downloader and hostsim.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "contract.h"
#include "hostsim.h"
#include "recording.h"
#include "standin_record.h"
#include "temp_dir.h"

using Kind = HostEvent::Kind;

// Time-outs for waits on the relay. Its own pauses add up to about six seconds per job.
constexpr DWORD kJobTimeoutMs = 30000;

// The command handed to the relay where its words do not matter.
inline const std::wstring kCommand = L"youtube-dl -o x http://v";

// What the host does to end the relay before its job does.
enum class Ending { StopMarker, WindowClosed };
// The notices a run should give the host; each is checked with both its parameters.
enum class Notices { None = 0, FirstData = 1, EndOfData = 2, Both = 3 };

class RelayCase {
public:
    explicit RelayCase(const std::wstring& tag);

    // The host and job numbers, and the lockstep semaphore named after them.
    void setNumbers(int32_t hostNumber, int32_t jobNumber);

    TempDir dir;
    std::wstring downloaderFolder;  // the relay's argument 2
    std::wstring workDir;           // the relay's current folder
    HostOptions options;            // numbers, relay, folders and the lockstep semaphore filled in

    // Copies the stand-in into `folder` (the downloader folder by default) with its script.
    // Pass lockstep() as the first line where each write must be read on its own.
    void installDownloader(const std::vector<std::string>& script, const std::wstring& folder = {});
    std::string lockstep() const;
    // The lockstep line, then one write each.
    std::vector<std::string> lockstepWrites(const std::vector<std::string>& writes) const;

    // Starts hostsim with `options`; fails the test when it cannot.
    HostSim& start();
    // Starts a sites-mode run and hands the relay the list command.
    HostSim& startSites();
    // Starts hostsim and hands the relay `command`.
    HostSim& startJob(const std::wstring& command = kCommand);
    HostSim& host() { return *host_; }
    // Ends the host as one does after a job: its window goes and its job with the relay in it.
    void endHost() { host_.reset(); }

    // Success when the relay ends within `timeoutMs` with exit code 0.
    ::testing::AssertionResult ended(DWORD timeoutMs = kJobTimeoutMs);
    // startJob or startSites, then ended.
    ::testing::AssertionResult runJob(const std::wstring& command = kCommand, DWORD timeoutMs = kJobTimeoutMs) {
        startJob(command);
        return ended(timeoutMs);
    }
    ::testing::AssertionResult runSites(DWORD timeoutMs = kJobTimeoutMs) {
        startSites();
        return ended(timeoutMs);
    }
    // Ends the relay the host's way; success when it then ends with 0 within `ms`.
    ::testing::AssertionResult endsWithin(Ending how, double ms);
    // The first-data notice (701, 701), then the end-of-data notice (77792, job number).
    ::testing::AssertionResult noticesWere(Notices expected) const;
    // The message boxes shown, each as {caption, text}, in order.
    ::testing::AssertionResult boxesWere(const std::vector<std::pair<std::wstring, std::wstring>>& expected) const;

    StandinRecord standin(const std::wstring& folder = {}) const;
    // The stand-in's process id from its record, waited for up to `timeoutMs`; 0 if it never started.
    DWORD standinProcessId(const std::wstring& folder = {}, DWORD timeoutMs = 0) const;
    // Whether that stand-in still runs (the relay left it behind), and ending it; true once it is
    // gone or, for id 0, never started. Both look at the process only while its image is the
    // stand-in in `folder`: an id is handed out again once its process has ended, and may then
    // name another test's program.
    bool standinAlive(DWORD processId, const std::wstring& folder = {}) const;
    bool endStandin(DWORD processId, const std::wstring& folder = {}) const;
    std::wstring listPath(const std::wstring& folder = {}) const { return in(folder) + L"\\" + contract::kSitesListName; }
    std::wstring sortedPath(const std::wstring& folder = {}) const { return in(folder) + L"\\Out.txt"; }

private:
    // The folder the caller named; none: the downloader folder.
    const std::wstring& in(const std::wstring& folder) const { return folder.empty() ? downloaderFolder : folder; }
    std::unique_ptr<HostSim> host_;
};

// Script line for one raw write.
std::string writeOf(const std::string& bytes);
// Script lines writing `bytes` in writes of at most `piece` bytes.
std::vector<std::string> writesInPieces(const std::string& bytes, size_t piece);

// Each byte as the UTF-16 unit of the same value (for ASCII and for Latin-1 test data).
std::wstring unitsOf(const std::string& bytes);

// The folder holding the shared fixtures, as a path this process can open.
std::wstring fixturePath(const std::wstring& name);

// Wine gives a process the ANSI code page of its Unix locale, and a Windows program cannot change
// the Unix environment that its children start with. So a test that needs another code page runs
// itself again, alone, in a Wine process started through env(1) with LC_ALL set; the relay and the
// downloader that it starts inherit that locale. True when that run passed. Its report goes to
// `reportPath`.
bool passesUnderLocale(const std::string& locale, const std::wstring& reportPath);
