#include "pump.h"

#include "ansi_text.h"
#include "host_contract.h"
#include "list_file.h"
#include "mailbox_text.h"
#include "report.h"
#include "run_record.h"
#include "sites_step.h"
#include "text_rules.h"

namespace {

constexpr DWORD kChunkBytes = 4096;

// The read's own bytes rather than their conversion: a character cut between two reads, or bytes
// that the code page does not know, reach the list as the downloader wrote them.
void appendToList(HANDLE list, const char* bytes, size_t count) {
    if (list == nullptr) return;
    std::string text;
    appendListBytes(text, bytes, count);
    writeAllBytes(list, text);  // a failed write is not reported; the sites step sorts what is there
}

// One message for each line of the read, each to the newest host window. Nothing is carried over
// to the next read, so a progress line without LF reaches the host at once. The host's answer
// means nothing to the relay.
void relayLines(const std::atomic<HWND>& host, const std::wstring& wide) {
    forEachRelayedLine(wide.data(), wide.size(), [&host](const wchar_t* line, size_t units) {
        COPYDATASTRUCT record{};
        record.dwData = 0;
        record.cbData = static_cast<DWORD>(units * sizeof(wchar_t));
        record.lpData = const_cast<wchar_t*>(line);
        SendMessageW(host.load(), WM_COPYDATA, kLineRelayParam, reinterpret_cast<LPARAM>(&record));
    });
}

}  // namespace

void runPump(RunRecord& run) {
    const Settings& settings = run.settings;
    Shared& shared = run.shared;

    // One process runs one pump.
    bool firstDataSent = false;
    char chunk[kChunkBytes];
    while (shared.stopReason.load() == kRunning) {
        if (hasStopMarker(run.mailbox.text())) {
            shared.stopReason = kStoppedByHost;
            break;
        }
        DWORD got = 0;
        if (!ReadFile(run.downloader.outputRead.get(), chunk, kChunkBytes, &got, nullptr) || got == 0) {
            shared.stopReason = kNoMoreData;
            Sleep(1000);
            break;
        }
        if (!firstDataSent) {
            firstDataSent = true;
            SendMessageW(shared.hostWindow.load(), youtubeDlMessage(), kFirstDataNotice, kFirstDataNotice);
            Sleep(2000);
        }
        // The chunk is narrow text: a NUL byte ends it for the echo, the list and the host alike.
        const size_t textBytes = chunkTextLength(chunk, got);
        printNarrow(chunk, textBytes);
        if (settings.sitesMode) appendToList(shared.listFile.load(), chunk, textBytes);
        relayLines(shared.hostWindow, ansiToWide(chunk, textBytes));
    }

    shared.closeListFile();
    if (settings.sitesMode) sortSupportedSites(settings.downloaderFolder, settings.listPath);
    Sleep(1000);
    if (shared.stopReason.load() == kStoppedByHost) {
        printNarrow(wideToAnsi(L"\n\nRECEIVED STOP from " + settings.mailboxName + L"\n"));
    } else if (shared.stopReason.load() == kNoMoreData) {
        PostMessageW(shared.hostWindow.load(), youtubeDlMessage(), kEndOfDataNotice, settings.jobNumber);
        printNarrow("\nEXIT NO DATA\n");
    }
}
