#pragma once
// The main thread's mailbox loop, the host watcher and the worker that starts the downloader.

// Starts the thread that ends the process once the host window is gone.
void startHostWatcher();

// Polls the mailbox once a second until the worker is done or the host window is gone.
// Ends the process itself on the stop marker.
void runMailboxLoop();

// Ends the process with exit code 0 at once, without waiting for any stream; the downloader is
// left running.
[[noreturn]] void endProcessNow();
