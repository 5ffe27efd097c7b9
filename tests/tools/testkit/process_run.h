#pragma once
#include <windows.h>

#include <string>

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
