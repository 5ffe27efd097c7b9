#include "pump.h"

#include "chunk_line.h"
#include "list_file.h"
#include "list_text.h"
#include "mailbox_text.h"
#include "run_record.h"
#include "sites_list.h"
#include "text_util.h"

namespace {

constexpr DWORD kChunkBytes = 4096;

// Only the worker touches it, and one process runs one pump.
bool firstDataSent = false;

// The read's own bytes rather than their conversion: a character cut between two reads, or bytes
// that the code page does not know, reach the list as the downloader wrote them.
void appendToList(const char* bytes, size_t count) {
    const HANDLE list = run().listFile.load();
    if (list == nullptr) return;
    std::string text;
    appendListBytes(text, bytes, count);
    writeAllBytes(list, text);  // a failed write is not reported; the sites step sorts what is there
}

void relayFirstLine(const std::wstring& wide) {
    const size_t length = firstLineLength(wide.data(), wide.size());
    COPYDATASTRUCT record{};
    record.dwData = 0;
    record.cbData = static_cast<DWORD>(length * sizeof(wchar_t));
    record.lpData = const_cast<wchar_t*>(wide.c_str());
    // The host's answer means nothing to the relay.
    SendMessageW(run().hostWindow.load(), WM_COPYDATA, kLineRelayParam, reinterpret_cast<LPARAM>(&record));
}

}  // namespace

void runPump() {
    RunRecord& r = run();
    // Without our own write end, the pipe ends once the child and its descendants close theirs.
    r.outputWrite.reset();

    char chunk[kChunkBytes];
    while (r.stopReason.load() == kRunning) {
        if (hasStopMarker(readMailboxText())) {
            r.stopReason = kStoppedByHost;
            break;
        }
        DWORD got = 0;
        if (!ReadFile(r.outputRead.get(), chunk, kChunkBytes, &got, nullptr) || got == 0) {
            r.stopReason = kNoMoreData;
            Sleep(1000);
            break;
        }
        if (!firstDataSent) {
            firstDataSent = true;
            SendMessageW(r.hostWindow.load(), youtubeDlMessage(), kFirstDataNotice, kFirstDataNotice);
            Sleep(2000);
        }
        // The chunk is narrow text: a NUL byte ends it for the echo, the list and the host alike.
        const size_t textBytes = chunkTextLength(chunk, got);
        printNarrow(chunk, textBytes);
        if (r.sitesMode) appendToList(chunk, textBytes);
        relayFirstLine(ansiToWide(chunk, textBytes));
    }

    closeListFile();
    if (r.sitesMode) sortSupportedSites(r.downloaderFolder, r.listPath);
    Sleep(1000);
    if (r.stopReason.load() == kStoppedByHost) {
        printNarrow(wideToAnsi(L"\n\nRECEIVED STOP from " + r.mailboxName + L"\n"));
    } else if (r.stopReason.load() == kNoMoreData) {
        PostMessageW(r.hostWindow.load(), youtubeDlMessage(), kEndOfDataNotice, r.jobNumber);
        printNarrow("\nEXIT NO DATA\n");
    }
}
