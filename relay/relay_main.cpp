// Entry point of the download relay: reads the run from the command line, opens what the host
// prepared, runs the mailbox loop on the main thread beside the host watcher and the worker, and
// finishes the run.
#include <conio.h>
#include <process.h>

#include "host_contract.h"
#include "list_file.h"
#include "mailbox_text.h"
#include "pump.h"
#include "report.h"
#include "run_record.h"

namespace {

// The registration happens during static initialisation, before wmain.
const UINT registeredMessage = RegisterWindowMessageW(L"youtube-dl message");

// Ends the process with exit code 0 at once, without waiting for any stream; the downloader is
// left running.
[[noreturn]] void endProcessNow() {
    // No stream is flushed on the way out, so no stream lock is waited for: the worker holds the
    // output stream's lock for as long as its write blocks (a console window holding a selection,
    // a pipe nobody reads), and ExitProcess may flush. Nothing is lost by it: every print flushes
    // itself, and the list file is written unbuffered.
    TerminateProcess(GetCurrentProcess(), 0);
    ExitProcess(0);  // only should the system refuse the above
}

// How long the stop line may take to reach the console before the relay ends without it.
constexpr DWORD kStopLineMs = 500;

unsigned __stdcall printStopLine(void*) {
    printNarrow("\nRECEIVED STOP. Closing...");
    return 0;
}

// The stop line is printed on a thread of its own, which the relay does not wait for long: the
// worker may be blocked in a write and holding the output stream (see endProcessNow).
void printStopLineBriefly() {
    UniqueHandle printer(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, printStopLine, nullptr, 0, nullptr)));
    // Without a thread the line is left out rather than risk the end.
    if (printer) WaitForSingleObject(printer.get(), kStopLineMs);
}

// The host watcher: ends the process once the host window is gone.
void watchHost(void* record) {
    const RunRecord& run = *static_cast<const RunRecord*>(record);
    for (;;) {
        if (FindWindowW(nullptr, run.settings.hostTitle.c_str()) == nullptr) endProcessNow();
        Sleep(1000);
    }
}

void work(void* record) {
    RunRecord& run = *static_cast<RunRecord*>(record);
    run.downloader.start(run.settings);
    runPump(run);  // a child that never started leaves the pipe empty and closed: end of data at once
    run.shared.done = true;
    Sleep(1000);
}

// Polls the mailbox once a second until the worker is done or the host window is gone.
// Ends the process itself on the stop marker.
void runMailboxLoop(RunRecord& run) {
    Shared& shared = run.shared;
    for (;;) {
        const HWND host = FindWindowW(nullptr, run.settings.hostTitle.c_str());
        shared.hostWindow = host;
        if (host == nullptr) return;

        // One copy of the mailbox serves the poll: the stop marker and the command are read from it.
        const std::wstring text = run.mailbox.text();
        if (hasStopMarker(text)) {
            shared.stopReason = kStoppedByHost;
            printStopLineBriefly();
            endProcessNow();  // the child is not terminated
        }

        // One run serves one child: the pipes and the record are not shared by two workers, so a
        // further command stays in the mailbox untouched.
        if (!shared.workerStarted) {
            std::optional<std::wstring> command = run.mailbox.takeCommand(text);
            if (command) {
                run.downloader.command = std::move(*command);
                shared.workerStarted = true;
                // Without a thread, do the work here rather than drop the command.
                if (_beginthread(work, 0, &run) == static_cast<uintptr_t>(-1)) work(&run);
            }
        }

        if (shared.done) return;
        Sleep(1000);
    }
}

void finishRun(RunRecord& run) {
    // A worker still pumping (the loop left because the host went away) keeps the list file;
    // the host watcher ends the process shortly.
    if (!run.shared.workerStarted || run.shared.done) run.shared.closeListFile();
    if (run.settings.verbose) _getch();
}

}  // namespace

unsigned youtubeDlMessage() { return registeredMessage; }

int wmain(int argc, wchar_t** argv) {
    if (argc < 7) return 0;
    // Never destroyed (see RunRecord).
    RunRecord& run = *new RunRecord(readSettings(argv));
    const Settings& settings = run.settings;

    // The host creates its window before it starts the relay; one quick second look is enough.
    if (FindWindowW(nullptr, settings.hostTitle.c_str()) == nullptr &&
        FindWindowW(nullptr, settings.hostTitle.c_str()) == nullptr) {
        return 0;
    }
    // Should the watcher not start, the mailbox loop still returns once the host window is gone.
    _beginthread(watchHost, 0, &run);
    SetConsoleTitleW(consoleTitle(settings.hostNumber, settings.jobNumber).c_str());

    const Mailbox::Opened mailbox = run.mailbox.open(settings.mailboxName);
    // Without a mapping the run goes on, to the warning below.
    if (mailbox == Mailbox::kNoMapping) MessageBoxW(nullptr, L"Error maping file", L"Velvox", MB_OK);
    if (mailbox == Mailbox::kCannotMap) {
        MessageBoxW(nullptr, L"Cannot map file", nullptr, MB_OK);
        return 0;
    }
    run.downloader.createPipes();

    if (mailbox == Mailbox::kOpen) {
        // Created or emptied in every run; the pump writes the list's CR LF itself.
        UniqueHandle list = openListForWriting(settings.listPath);
        run.shared.listFile = list ? list.release() : nullptr;
        runMailboxLoop(run);
    } else {
        warningBox(L"Map file not allowed by system. Cannot continue");
    }

    finishRun(run);
    // A worker still pumping must not write into streams that the runtime's exit is closing:
    // end the process the way the watcher would, which stops the worker first.
    if (run.shared.workerStarted && !run.shared.done) endProcessNow();
    return 0;
}
