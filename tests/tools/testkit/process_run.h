#pragma once
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "unique_handle.h"

// Quotes one command-line argument by the usual Windows rules; quoteArgs joins several.
std::wstring quoteArg(const std::wstring& arg);
std::wstring quoteArgs(const std::vector<std::wstring>& args);

// Where a started program's standard output and error go.
enum class ChildOutput {
    None,      // no standard handles at all, and none of ours inherited
    Pipe,      // one pipe for both, read with StartedProcess::readOutput
    TwoPipes,  // a pipe each
    File,      // StartOptions::outputFile, created anew
};

struct StartOptions {
    StartOptions(std::wstring path = {}, std::wstring args = {}, std::wstring dir = {},
                 ChildOutput out = ChildOutput::None)
        : program(std::move(path)), arguments(std::move(args)), currentDir(std::move(dir)), output(out) {}
    std::wstring program;
    std::wstring arguments;   // quoted, after the program's own name on the command line
    std::wstring currentDir;  // empty: inherit
    ChildOutput output;
    std::wstring outputFile;
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);  // unless ChildOutput::None; inheritable
    // A job of its own, joined before the program runs, so that nothing it starts escapes unless
    // it breaks away on purpose; what is in it ends with the object.
    bool ownJob = false;
    bool jobAllowsBreakaway = true;  // as the host contract asks; false: as a stricter host's job
};

// The one place where the test kit starts a program. It owns the process, its job and the read
// ends of its pipes. A Unix program under Wine starts, but hands back no process or thread.
class StartedProcess {
public:
    ~StartedProcess() { end(5000); }

    // False when a call failed; error() then says which and why, e.g. "CreateProcessW failed: error 2".
    bool start(const StartOptions& options);
    bool started() const { return started_; }
    const std::string& error() const { return error_; }
    HANDLE handle() const { return process_.get(); }
    DWORD processId() const { return processId_; }
    DWORD threadId() const { return threadId_; }
    bool waitForExit(DWORD timeoutMs) const;
    DWORD exitCode() const;  // STILL_ACTIVE while it runs
    // Ends the program alone, the way a crash would, and waits up to waitMs for it.
    bool kill(DWORD waitMs);

    // Reads the pipes on threads of their own, handing on each read as it comes.
    using OnRead = std::function<void(const char* bytes, DWORD count)>;
    void readOutput(OnRead onOutput, OnRead onError = {});
    bool outputWaiting() const;  // bytes are in the output pipe, not yet read
    // Ends the job, if there is one, and waits for the readers until every writer has closed the
    // pipes; a grandchild may hold them longer, so after graceMs they stop.
    void end(DWORD graceMs);

private:
    bool fail(const char* call);
    void drain(HANDLE readEnd, OnRead onRead);

    bool started_ = false;
    std::string error_;
    UniqueHandle job_, process_;
    DWORD processId_ = 0, threadId_ = 0;
    UniqueHandle readEnds_[2];  // standard output (and error, with one pipe); standard error
    std::thread readers_[2];
    std::atomic<ULONGLONG> stopReadingAt_{~0ULL};
};

// Runs a program to its end with standard output and error captured through one pipe (or two).
struct RunResult {
    bool started = false;
    std::string startError;     // StartedProcess::error
    bool timedOut = false;      // the program was killed after the time-out
    DWORD exitCode = 0;
    std::string output;         // standard output and standard error, as the bytes came
    std::string errorOutput;    // standard error alone, when RunOptions::separateErrorOutput
};

struct RunOptions {
    std::wstring currentDir;    // empty: inherit
    DWORD timeoutMs = 30000;
    bool separateErrorOutput = false;  // standard error into RunResult::errorOutput, not output
};

RunResult runProgram(const std::wstring& program, const std::wstring& arguments, const RunOptions& options = {});

// Starts a Unix program (a `#!` script or an ELF file, by its Unix path) under Wine, which splits
// `arguments` into its argv. It gets none of our standard handles and its handle does not tell
// when it ends, so it reports through files. False when it could not be started, and why in `error`.
bool startUnixProgram(const std::string& program, const std::vector<std::wstring>& arguments,
                      std::string* error = nullptr);

// A program started in a job of its own, its standard output and error read as they come, for a
// test that acts while it runs (kills it, say). What it starts joins the job, unless it breaks
// away, and ends with the LiveProgram.
class LiveProgram {
public:
    bool start(const std::wstring& program, const std::wstring& arguments);
    // Waits until the output so far holds `text`; false on time-out.
    bool waitForOutput(const std::string& text, DWORD timeoutMs);
    std::string output() const;  // or why it could not start
    // Ends the program alone, the way a crash would, and waits for it; the rest of the job stays.
    bool kill() { return process_.kill(10000); }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::string output_;
    StartedProcess process_;  // last, so that its readers stop before what they fill goes
};
