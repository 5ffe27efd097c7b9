#pragma once
// The downloader child: the pipes it writes into and reads from, and its start.
#include <string>

#include "unique_handle.h"

struct Settings;

struct Downloader {
    // Both pipe pairs, made at start-up; a failure is reported and the run goes on.
    void createPipes();
    // Starts youtube-dl.exe with `command` on the worker, then closes our write ends of its output and
    // its input; a failure is reported. The relay neither waits for the child nor reads its exit code.
    void start(const Settings& settings);

    // Set by the mailbox loop before it starts the worker, read by the worker only.
    std::wstring command;
    UniqueHandle outputRead, outputWrite;  // the child writes, the pump reads
    UniqueHandle inputRead, inputWrite;    // the child's stdin; never written, ended once it started
};
