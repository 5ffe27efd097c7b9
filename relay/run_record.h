#pragma once
// The relay's one run record and what is fixed about the host it serves.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "unique_handle.h"

// Host contract: parameters of the registered message and the line relay message.
constexpr WPARAM kFirstDataNotice = 701;       // lParam 701 as well; sent once, synchronously
constexpr WPARAM kEndOfDataNotice = 77792;     // lParam the job number; posted
constexpr WPARAM kLineRelayParam = 717717;     // wParam of WM_COPYDATA
constexpr DWORD kMailboxBytes = 4096;

// "youtube-dl message", registered before wmain runs.
UINT youtubeDlMessage();

enum StopReason : int { kRunning = 0, kStoppedByHost = 1, kNoMoreData = 2 };

struct RunRecord {
    // Written by start-up before the mailbox loop starts, read-only afterwards.
    int32_t jobNumber = 0;
    int32_t hostNumber = 0;
    int32_t verbose = 0;
    int32_t sitesMode = 0;
    std::wstring downloaderFolder;
    std::wstring hostTitle;
    std::wstring mailboxName;
    std::wstring listPath;
    UniqueHandle mapping;
    UniqueView mailboxView;
    UniqueHandle outputRead, outputWrite;  // the child writes, the pump reads
    UniqueHandle inputRead, inputWrite;    // the child's stdin; never written, never ended

    // Written by the mailbox loop before it starts the worker, read by the worker only.
    std::wstring downloaderPath;
    std::wstring argumentText;

    // Shared between the main thread, the host watcher and the worker.
    std::atomic<HWND> hostWindow{nullptr};
    std::atomic<bool> workerStarted{false};
    std::atomic<bool> done{false};
    std::atomic<int> stopReason{kRunning};
    // The supported-sites list file, or null. Written without a buffer, so that what the pump wrote
    // is in the file however the process ends. Owned by whoever takes it out with exchange(): the
    // pump after its loop, or the finish step when no worker is running. So it is closed once, and
    // never under a writing worker.
    std::atomic<HANDLE> listFile{nullptr};
};

// The process-wide record. Never destroyed: the watcher and the worker may still use it while
// the process exits, and the system reclaims its handles then.
RunRecord& run();

// The mailbox text as it is now (empty without a mailbox); never read beyond the view.
std::wstring readMailboxText();
// Writes the empty text back, which tells the host that its command was taken.
void clearMailbox();
// Closes the supported-sites list file if it is still open.
void closeListFile();
