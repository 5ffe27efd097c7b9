// Entry point of the download relay: reads the run from the command line, opens what the host
// prepared, hands over to the mailbox loop and finishes the run.
#include <conio.h>

#include "list_file.h"
#include "mailbox_loop.h"
#include "number_text.h"
#include "run_names.h"
#include "run_record.h"
#include "text_util.h"

namespace {

// False when the mailbox exists but cannot be mapped, which ends the run.
bool openMailbox() {
    RunRecord& r = run();
    r.mapping.reset(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, r.mailboxName.c_str()));
    if (!r.mapping) {
        MessageBoxW(nullptr, L"Error maping file", L"Velvox", MB_OK);
        return true;  // the run goes on without a mailbox
    }
    r.mailboxView.reset(MapViewOfFile(r.mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, kMailboxBytes));
    if (!r.mailboxView) {
        MessageBoxW(nullptr, L"Cannot map file", nullptr, MB_OK);
        return false;
    }
    return true;
}

void createPipes() {
    RunRecord& r = run();
    SECURITY_ATTRIBUTES inheritable{};
    inheritable.nLength = sizeof inheritable;
    inheritable.lpSecurityDescriptor = nullptr;
    inheritable.bInheritHandle = TRUE;
    if (!CreatePipe(r.outputRead.put(), r.outputWrite.put(), &inheritable, 0)) {
        warningBox(L"Stdout pipe creation failed");
    }
    // The child gets only the ends it uses.
    SetHandleInformation(r.outputRead.get(), HANDLE_FLAG_INHERIT, 0);
    if (!CreatePipe(r.inputRead.put(), r.inputWrite.put(), &inheritable, 0)) {
        warningBox(L"Stdin pipe creation failed");
    }
    SetHandleInformation(r.inputWrite.get(), HANDLE_FLAG_INHERIT, 0);
}

void finishRun() {
    RunRecord& r = run();
    // A worker still pumping (the loop left because the host went away) keeps the list file;
    // the host watcher ends the process shortly.
    if (!r.workerStarted || r.done) closeListFile();
    if (r.verbose) _getch();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 7) return 0;
    RunRecord& r = run();
    r.sitesMode = readNumber(argv[6]);
    r.jobNumber = readNumber(argv[1]);
    r.hostNumber = readNumber(argv[5]);

    r.hostTitle = hostWindowTitle(r.hostNumber);
    // The host creates its window before it starts the relay; one quick second look is enough.
    if (FindWindowW(nullptr, r.hostTitle.c_str()) == nullptr && FindWindowW(nullptr, r.hostTitle.c_str()) == nullptr) {
        return 0;
    }
    startHostWatcher();

    r.mailboxName = mailboxName(r.hostNumber, r.jobNumber);
    SetConsoleTitleW(consoleTitle(r.hostNumber, r.jobNumber).c_str());

    r.downloaderFolder = downloaderFolderFrom(argv[2]);
    r.verbose = readNumber(argv[3]);

    if (!openMailbox()) return 0;
    createPipes();

    if (r.mailboxView) {
        r.listPath = sitesListPathIn(r.downloaderFolder);
        // Created or emptied in every run; the pump writes the list's CR LF itself.
        UniqueHandle list = openListForWriting(r.listPath);
        r.listFile = list ? list.release() : nullptr;
        runMailboxLoop();
    } else {
        warningBox(L"Map file not allowed by system. Cannot continue");
    }

    finishRun();
    // A worker still pumping must not write into streams that the runtime's exit is closing:
    // end the process the way the watcher would, which stops the worker first.
    if (r.workerStarted && !r.done) endProcessNow();
    return 0;
}
