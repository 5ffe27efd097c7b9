#pragma once
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "unique_handle.h"

// Runs a program to its end with standard output and error captured through one pipe (or two).
struct RunResult {
    bool started = false;
    bool timedOut = false;      // the program was killed after the time-out
    DWORD exitCode = 0;
    DWORD processId = 0;
    std::string output;         // standard output and standard error, as the bytes came
    std::string errorOutput;    // standard error alone, when RunOptions::separateErrorOutput
};

struct RunOptions {
    std::wstring currentDir;    // empty: inherit
    DWORD timeoutMs = 30000;
    bool separateErrorOutput = false;  // standard error into RunResult::errorOutput, not output
};

RunResult runProgram(const std::wstring& program, const std::wstring& arguments, const RunOptions& options = {});

// Quotes one command-line argument by the usual Windows rules.
std::wstring quoteArg(const std::wstring& arg);

// Starts a Unix program (a `#!` script or an ELF file, by its Unix path) under Wine, which splits
// `arguments` into its argv. It gets none of our standard handles and its handle does not tell
// when it ends, so it reports through files. False when it could not be started.
bool startUnixProgram(const std::string& program, const std::vector<std::wstring>& arguments);

// A program started in a job of its own, its standard output and error read as they come, for a
// test that acts while it runs (kills it, say). What it starts joins the job, unless it breaks
// away, and ends with the LiveProgram.
class LiveProgram {
public:
    LiveProgram() = default;
    ~LiveProgram();
    LiveProgram(const LiveProgram&) = delete;
    LiveProgram& operator=(const LiveProgram&) = delete;

    bool start(const std::wstring& program, const std::wstring& arguments);
    DWORD processId() const { return processId_; }
    // Waits until the output so far holds `text`; false on time-out.
    bool waitForOutput(const std::string& text, DWORD timeoutMs);
    std::string output() const;
    // Ends the program alone, the way a crash would, and waits for it; the rest of the job stays.
    bool kill();

private:
    static DWORD WINAPI readOutput(void* self);

    UniqueHandle job_, process_, readEnd_, reader_;
    DWORD processId_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::string output_;
};
