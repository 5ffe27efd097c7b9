#include "pump.h"

#include <cstring>

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
// The most bytes of one character that a read can end with: three of UTF-8's four.
constexpr size_t kMostHeldBytes = 3;

// The read's own bytes rather than their conversion: a character cut between two reads, or bytes
// that the code page does not know, reach the list as the downloader wrote them.
void appendToList(HANDLE list, const char* bytes, size_t count) {
    if (list == nullptr) return;
    std::string text;
    appendListBytes(text, bytes, count);
    writeAllBytes(list, text);  // a failed write is not reported; the sites step sorts what is there
}

// One message for each line of the text, each to the newest host window. Only an unfinished
// character is carried over to the next read, so a progress line without LF reaches the host at
// once. The host's answer means nothing to the relay.
void relayLines(const std::atomic<HWND>& host, const std::wstring& wide) {
    forEachRelayedLine(wide.data(), wide.size(), [&host](const wchar_t* line, size_t units) {
        COPYDATASTRUCT record{};
        record.dwData = 0;
        record.cbData = static_cast<DWORD>(units * sizeof(wchar_t));
        record.lpData = const_cast<wchar_t*>(line);
        SendMessageW(host.load(), WM_COPYDATA, kLineRelayParam, reinterpret_cast<LPARAM>(&record));
    });
}

// Relays the text of a read, the bytes held from the read before first, less a character that the
// text does not finish while more output may follow (`mayGoOn`: no NUL ended the read). Those
// bytes are moved to just before `next`, where the next read lands, and their count returned.
size_t relayWholeCharacters(const std::atomic<HWND>& host, const CodePageFacts& codePage, const char* text,
                            size_t count, bool mayGoOn, char* next) {
    const size_t holding = mayGoOn ? unfinishedCharacterBytes(codePage, text, count) : 0;
    // A text that is all held back sends nothing; an empty text is still one empty line.
    if (holding == 0 || holding < count) relayLines(host, ansiToWide(text, count - holding));
    std::memmove(next - holding, text + count - holding, holding);
    return holding;
}

}  // namespace

void runPump(RunRecord& run) {
    const Settings& settings = run.settings;
    Shared& shared = run.shared;

    // One process runs one pump.
    bool firstDataSent = false;
    const CodePageFacts codePage = ansiCodePageFacts();
    // Each read lands after room for the bytes held from the one before.
    char buffer[kMostHeldBytes + kChunkBytes];
    char* const chunk = buffer + kMostHeldBytes;
    size_t held = 0;
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
        // The echo and the list take the read's own bytes; the host whole characters.
        const size_t textBytes = chunkTextLength(chunk, got);
        printNarrow(chunk, textBytes);
        if (settings.sitesMode) appendToList(shared.listFile.load(), chunk, textBytes);
        held = relayWholeCharacters(shared.hostWindow, codePage, chunk - held, held + textBytes, textBytes == got, chunk);
    }
    // Bytes still held never got the rest of their character; they go as they are, not lost.
    if (held > 0) relayLines(shared.hostWindow, ansiToWide(chunk - held, held));

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
