#pragma once
// The relay's run: made once in wmain and handed to each step and to both threads.
#include <windows.h>

#include <atomic>
#include <utility>

#include "downloader.h"
#include "mailbox.h"
#include "settings.h"

enum StopReason : int { kRunning = 0, kStoppedByHost = 1, kNoMoreData = 2 };

// What the main thread, the host watcher and the worker share while they run.
struct Shared {
    std::atomic<HWND> hostWindow{nullptr};
    std::atomic<bool> workerStarted{false};
    std::atomic<bool> done{false};
    std::atomic<int> stopReason{kRunning};
    // The supported-sites list file, or null. Written without a buffer, so that what the pump wrote
    // is in the file however the process ends. Owned by whoever takes it out with exchange(): the
    // pump after its loop, or the finish step when no worker is running. So it is closed once, and
    // never under a writing worker.
    std::atomic<HANDLE> listFile{nullptr};
    void closeListFile() { UniqueHandle taken(listFile.exchange(nullptr)); }
};

// Never destroyed: the watcher and the worker may still use it while the process exits, and the
// system reclaims its handles then.
struct RunRecord {
    explicit RunRecord(Settings read) : settings(std::move(read)) {}
    const Settings settings;
    Mailbox mailbox;  // opened by start-up, before the mailbox loop and the worker
    Downloader downloader;
    Shared shared;
};
