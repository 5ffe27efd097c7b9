#pragma once
// Plays the recorder host for one relay run: its window "Velvox YT (%d)", the mailbox
// "velvox_%d_%d", the relay's start with its six arguments, and a timed record of everything the
// relay does to the host (notices, line relay messages, message boxes, the taken command, its
// console output and exit code).
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "contract.h"
#include "thread_window.h"
#include "process_run.h"
#include "unique_handle.h"

struct HostEvent {
    enum class Kind { Notice, CopyData, Box, MailboxTaken, Console, Exit };
    Kind kind = Kind::Notice;
    double atMs = 0;            // since HostSim::start
    int64_t counter = 0;        // QueryPerformanceCounter at the same moment: one clock for all processes
    WPARAM wParam = 0;          // Notice, CopyData
    LPARAM lParam = 0;          // Notice
    ULONG_PTR dwData = 0;       // CopyData
    DWORD cbData = 0;           // CopyData
    std::wstring text;          // CopyData payload, Box text, mailbox text after the command was taken
    std::wstring caption;       // Box
    std::string bytes;          // Console: the relay's standard output and error as they came
    DWORD exitCode = 0;         // Exit
};

enum class MailboxKind {
    Memory,         // a named memory mapping of mailboxBytes
    None,           // no mapping at all
    SmallFile       // a mapping of a 10-byte file: it opens, but 4096 bytes cannot be mapped
};

struct HostOptions {
    int32_t hostNumber = 0;
    int32_t jobNumber = 0;
    std::wstring relayPath;                 // empty: relay.exe beside the running program
    std::wstring downloaderFolder;
    std::wstring verbose = L"0";
    std::wstring sitesMode = L"0";
    std::vector<std::wstring> arguments;    // when not empty: used instead of the six words above
    std::wstring currentDir;                // the relay's; empty: inherit
    std::wstring outputFile;                // when set: the relay's standard output and error go
                                            // into this file instead of being recorded
    // False: the relay's standard output and error go into a pipe that is never read, which
    // blocks the relay's writes once it is full, as a console held by a selection does.
    bool readOutput = true;
    bool createWindow = true;
    MailboxKind mailbox = MailboxKind::Memory;
    DWORD mailboxBytes = 4096;
    std::wstring initialMailbox;            // written before the relay starts
    std::wstring scratchDir;                // for the SmallFile mailbox
    std::wstring lockstepSemaphore;         // when set: released once after each WM_COPYDATA
    // When non-zero: the window thread stops pumping inside the line relay message of that number
    // (a host that hangs), until closeWindow.
    size_t hangOnLine = 0;
    // False: the relay and what it starts stay in this process's own job, so that they outlive a
    // host process that is killed (the caller then owns their clean-up).
    bool ownJob = true;
    bool jobAllowsBreakaway = true;
    // False: payloads (line texts, console bytes) go to onEvent only and are not kept, for runs
    // whose output is too large to hold; console() is then empty.
    bool keepPayloads = true;
    std::function<void(const HostEvent&)> onEvent;  // called live, from hostsim's threads
};

class HostSim {
public:
    explicit HostSim(HostOptions options);
    ~HostSim();  // closes the window and ends the relay and everything it started
    HostSim(const HostSim&) = delete;
    HostSim& operator=(const HostSim&) = delete;

    // Window (if asked for), mailbox, then the relay. False when something could not be set up.
    bool start();
    DWORD relayProcessId() const { return relay_.processId(); }
    const std::string& relayStartError() const { return relay_.error(); }  // which call failed

    // Writes text and its terminating NUL; the taken command is recorded when the relay empties it.
    void writeMailbox(const std::wstring& text);
    // Writes units as they are, without a terminator (for a full mailbox).
    void writeMailboxUnits(const std::wstring& units, size_t offsetUnits = 0);
    std::wstring mailboxUnits(size_t count) const;
    std::wstring mailboxText() const;  // up to the first NUL within the first 4096 bytes

    void closeWindow();
    // Creates the host window after the start (for a relay started too early).
    void openWindowLate();

    bool waitForExit(DWORD timeoutMs);
    bool exited() const;
    DWORD exitCode() const;
    // The relay's peak working set in bytes: the highest figure read while it ran (0 if none was).
    SIZE_T peakWorkingSet() const;
    // When CreateProcessW of the relay was called, in the time of HostEvent::atMs.
    double relayStartedAtMs() const { return relayStartedAtMs_; }

    // Waits until `count` events of `kind` have come; false on time-out.
    bool waitForCount(HostEvent::Kind kind, size_t count, DWORD timeoutMs);
    std::vector<HostEvent> events() const;
    std::vector<HostEvent> events(HostEvent::Kind kind) const;
    std::string console() const;

    // The console shared with the relay.
    static std::wstring consoleTitle();
    static bool typeKey(wchar_t key);

    double nowMs() const;
    // Used by the window thread; afterLine after each line relay message.
    void record(HostEvent::Kind kind, HostEvent event);
    void afterLine();

private:
    bool createMailbox();
    bool startRelay();
    void watch();
    void readPeakWorkingSet();

    HostOptions options_;
    LARGE_INTEGER startCount_{};
    LARGE_INTEGER frequency_{};

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<HostEvent> events_;

    std::unique_ptr<ThreadWindow> window_;

    UniqueHandle mapping_;
    UniqueView view_;
    UniqueHandle lockstep_;
    UniqueHandle release_;  // ends a hang
    size_t linesSeen_ = 0;  // window thread only
    StartedProcess relay_;
    double relayStartedAtMs_ = 0;
    SIZE_T peakWorkingSet_ = 0;  // guarded by mutex_
    std::thread watchThread_;
    std::atomic<bool> stopping_{false};
    std::wstring pendingCommand_;  // the mailbox as written, until the relay takes it; guarded by mutex_
    bool exitRecorded_ = false;
};

// The semaphore the stand-in's lockstep waits on, released once after each line relay message.
std::wstring lockstepSemaphoreName(int32_t hostNumber, int32_t jobNumber);

// The lines the relay sent, in order.
std::vector<std::wstring> relayedLines(const HostSim& host);

// The relay's six arguments as the host passes them: job number, downloader folder, verbose,
// an argument the relay ignores, host number, sites mode.
std::vector<std::wstring> relayArguments(const HostOptions& options);
