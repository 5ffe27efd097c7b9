#include "hostsim.h"

#include <psapi.h>

#include <cwctype>

#include "paths.h"
#include "process_run.h"
#include "wait_until.h"
#include "window_find.h"

namespace {

constexpr wchar_t kWindowClass[] = L"VelvoxHostSimWindow";
// The relay's boxes are recorded, then answered with OK after this delay.
constexpr DWORD kBoxAnswerDelayMs = 200;

UINT youtubeDlMessage() {
    static const UINT message = RegisterWindowMessageW(contract::kMessageName);
    return message;
}

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<HostSim*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host != nullptr && message == youtubeDlMessage()) {
        HostEvent event;
        event.wParam = wParam;
        event.lParam = lParam;
        host->record(HostEvent::Kind::Notice, event);
        return 0;
    } else if (host != nullptr && message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        HostEvent event;
        event.wParam = wParam;
        event.dwData = data->dwData;
        event.cbData = data->cbData;
        if (data->lpData != nullptr && data->cbData > 0) {
            event.text.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
        }
        host->record(HostEvent::Kind::CopyData, std::move(event));
        host->afterLine();
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A console for this process that the relay and its child inherit, so that its title can be read
// and keys typed into it. A test process under Wine may start without a usable one.
bool ensureConsole() {
    static const bool ready = [] {
        const DWORD slots[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
        HANDLE saved[3];
        for (int i = 0; i < 3; ++i) saved[i] = GetStdHandle(slots[i]);
        bool ok = false;
        for (int attempt = 0; attempt < 5 && !ok; ++attempt) {
            // What Wine hands a program started from a pipe is a bare console without a title;
            // leave it for a real one. AllocConsole can fail now and then: try again.
            FreeConsole();
            ok = AllocConsole() != 0;
            if (!ok) Sleep(200);
        }
        // Our own redirected output stays where it was.
        for (int i = 0; i < 3; ++i) {
            if (saved[i] != nullptr && saved[i] != INVALID_HANDLE_VALUE && GetFileType(saved[i]) != FILE_TYPE_CHAR) {
                SetStdHandle(slots[i], saved[i]);
            }
        }
        return ok;
    }();
    return ready;
}

}  // namespace

HostSim::HostSim(HostOptions options)
    : options_(std::move(options)), release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&startCount_);
}

HostSim::~HostSim() {
    closeWindow();
    relay_.end(0);
    stopping_ = true;
    if (watchThread_.joinable()) watchThread_.join();
}

double HostSim::nowMs() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart - startCount_.QuadPart) * 1000.0 / double(frequency_.QuadPart);
}

std::wstring lockstepSemaphoreName(int32_t hostNumber, int32_t jobNumber) {
    return L"vx_lockstep_" + std::to_wstring(hostNumber) + L"_" + std::to_wstring(jobNumber);
}

void HostSim::record(HostEvent::Kind kind, HostEvent event) {
    event.kind = kind;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    event.counter = now.QuadPart;
    event.atMs = double(now.QuadPart - startCount_.QuadPart) * 1000.0 / double(frequency_.QuadPart);
    // First, so that what it gathers is complete once a waiter sees the event.
    if (options_.onEvent) options_.onEvent(event);
    if (!options_.keepPayloads) {
        event.text = std::wstring();
        event.bytes = std::string();
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(std::move(event));
    }
    changed_.notify_all();
}

void HostSim::afterLine() {
    if (lockstep_) ReleaseSemaphore(lockstep_.get(), 1, nullptr);
    if (options_.hangOnLine == 0 || ++linesSeen_ != options_.hangOnLine) return;
    // Not answering: the relay's SendMessageW waits, as it would on a host that hangs.
    WaitForSingleObject(release_.get(), INFINITE);
}

void HostSim::openWindowLate() {
    window_ = std::make_unique<ThreadWindow>(kWindowClass, contract::windowTitle(options_.hostNumber), hostWindowProc, this);
    if (window_->hwnd() == nullptr) window_.reset();
}

void HostSim::closeWindow() {
    SetEvent(release_.get());
    window_.reset();
}

bool HostSim::createMailbox() {
    const std::wstring name = contract::mailboxName(options_.hostNumber, options_.jobNumber);
    if (options_.mailbox == MailboxKind::None) return true;
    if (options_.mailbox == MailboxKind::SmallFile) {
        const std::wstring path = options_.scratchDir + L"\\mailbox.bin";
        UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD put = 0;
        if (!file || !WriteFile(file.get(), "0123456789", 10, &put, nullptr)) return false;
        // The mapping keeps the file open.
        mapping_.reset(CreateFileMappingW(file.get(), nullptr, PAGE_READWRITE, 0, 0, name.c_str()));
        return static_cast<bool>(mapping_);
    }
    mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, options_.mailboxBytes, name.c_str()));
    // A mapping of that name made by another program is not ours to use.
    if (!mapping_ || GetLastError() == ERROR_ALREADY_EXISTS) return false;
    view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    return static_cast<bool>(view_);
}

std::vector<std::wstring> relayedLines(const HostSim& host) {
    std::vector<std::wstring> lines;
    for (const HostEvent& e : host.events(HostEvent::Kind::CopyData)) lines.push_back(e.text);
    return lines;
}

std::vector<std::wstring> relayArguments(const HostOptions& options) {
    return {std::to_wstring(options.jobNumber), options.downloaderFolder, options.verbose, L"-",
            std::to_wstring(options.hostNumber), options.sitesMode};
}

bool HostSim::startRelay() {
    ensureConsole();
    StartOptions start(options_.relayPath.empty() ? builtProgram(L"relay.exe") : options_.relayPath,
                       quoteArgs(options_.arguments.empty() ? relayArguments(options_) : options_.arguments),
                       options_.currentDir, options_.outputFile.empty() ? ChildOutput::Pipe : ChildOutput::File);
    start.outputFile = options_.outputFile;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    UniqueHandle consoleInput(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          &inheritable, OPEN_EXISTING, 0, nullptr));
    start.input = consoleInput.get();
    // Everything the relay starts goes into the job, so nothing outlives the test but a Notepad
    // that breaks away, which the tests close themselves.
    start.ownJob = options_.ownJob;
    start.jobAllowsBreakaway = options_.jobAllowsBreakaway;
    relayStartedAtMs_ = nowMs();
    if (!relay_.start(start)) return false;
    if (options_.readOutput) {
        relay_.readOutput([this](const char* bytes, DWORD count) {
            HostEvent event;
            event.bytes.assign(bytes, count);
            record(HostEvent::Kind::Console, std::move(event));
        });
    }
    return true;
}

bool HostSim::start() {
    if (!options_.lockstepSemaphore.empty()) {
        lockstep_.reset(CreateSemaphoreW(nullptr, 0, 0x7FFFFFFF, options_.lockstepSemaphore.c_str()));
    }
    if (options_.createWindow) {
        openWindowLate();
        if (window_ == nullptr) return false;
    }
    if (!createMailbox()) return false;
    if (!options_.initialMailbox.empty()) writeMailbox(options_.initialMailbox);
    if (!startRelay()) return false;
    watchThread_ = std::thread([this] { watch(); });
    return true;
}

void HostSim::writeMailbox(const std::wstring& text) { writeMailboxUnits(text + L'\0'); }

void HostSim::writeMailboxUnits(const std::wstring& units, size_t offsetUnits) {
    if (!view_) return;
    auto* mailbox = static_cast<volatile wchar_t*>(view_.get());
    std::lock_guard<std::mutex> lock(mutex_);
    for (size_t i = 0; i < units.size(); ++i) mailbox[offsetUnits + i] = units[i];
    pendingCommand_ = mailboxUnits(2048);
}

std::wstring HostSim::mailboxUnits(size_t count) const {
    if (!view_) return {};
    const auto* mailbox = static_cast<const volatile wchar_t*>(view_.get());
    std::wstring units(count, L'\0');
    for (size_t i = 0; i < count; ++i) units[i] = mailbox[i];
    return units;
}

std::wstring HostSim::mailboxText() const {
    std::wstring units = mailboxUnits(2048);
    return units.substr(0, units.find(L'\0'));
}

void HostSim::watch() {
    BoxAnswerer boxes(relay_.processId(), {IDOK}, kBoxAnswerDelayMs);
    while (!stopping_) {
        bool taken = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!pendingCommand_.empty() && mailboxUnits(2048) != pendingCommand_) {
                pendingCommand_.clear();
                taken = true;
            }
        }
        if (taken) {
            HostEvent event;
            event.text = mailboxText();
            record(HostEvent::Kind::MailboxTaken, event);
        }

        for (const SeenBox& box : boxes.poll()) {
            HostEvent event;
            event.caption = box.caption;
            event.text = box.text;
            record(HostEvent::Kind::Box, event);
        }

        // Read on every pass, because under Wine the figures are often gone once the process
        // has ended; and once more then, while the handle is still ours.
        if (!exitRecorded_) readPeakWorkingSet();

        if (!exitRecorded_ && relay_.waitForExit(0)) {
            // Let the console catch up first, so the exit comes after the relay's last output.
            waitUntil([this] { return !options_.readOutput || !relay_.outputWaiting(); }, 500, 5);
            Sleep(20);
            exitRecorded_ = true;
            HostEvent event;
            event.exitCode = relay_.exitCode();
            record(HostEvent::Kind::Exit, event);
        }
        Sleep(20);
    }
}

bool HostSim::waitForExit(DWORD timeoutMs) {
    return waitForCount(HostEvent::Kind::Exit, 1, timeoutMs);
}

void HostSim::readPeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(relay_.handle(), &memory, sizeof memory)) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (memory.PeakWorkingSetSize > peakWorkingSet_) peakWorkingSet_ = memory.PeakWorkingSetSize;
}

SIZE_T HostSim::peakWorkingSet() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return peakWorkingSet_;
}

bool HostSim::exited() const { return !events(HostEvent::Kind::Exit).empty(); }

DWORD HostSim::exitCode() const {
    const auto exits = events(HostEvent::Kind::Exit);
    return exits.empty() ? STILL_ACTIVE : exits.front().exitCode;
}

bool HostSim::waitForCount(HostEvent::Kind kind, size_t count, DWORD timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        size_t n = 0;
        for (const HostEvent& e : events_) n += e.kind == kind;
        return n >= count;
    });
}

std::vector<HostEvent> HostSim::events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

std::vector<HostEvent> HostSim::events(HostEvent::Kind kind) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<HostEvent> some;
    for (const HostEvent& e : events_) {
        if (e.kind == kind) some.push_back(e);
    }
    return some;
}

std::string HostSim::console() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string console;
    for (const HostEvent& e : events_) {
        if (e.kind == HostEvent::Kind::Console) console += e.bytes;
    }
    return console;
}

std::wstring HostSim::consoleTitle() {
    wchar_t title[1024] = {};
    const DWORD length = GetConsoleTitleW(title, 1024);
    return std::wstring(title, length);
}

bool HostSim::typeKey(wchar_t key) {
    UniqueHandle input(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    if (!input) return false;
    INPUT_RECORD records[2] = {};
    for (int i = 0; i < 2; ++i) {
        records[i].EventType = KEY_EVENT;
        records[i].Event.KeyEvent.bKeyDown = i == 0;
        records[i].Event.KeyEvent.wRepeatCount = 1;
        records[i].Event.KeyEvent.wVirtualKeyCode = static_cast<WORD>(towupper(key));
        records[i].Event.KeyEvent.uChar.UnicodeChar = key;
    }
    DWORD written = 0;
    return WriteConsoleInputW(input.get(), records, 2, &written) && written == 2;
}
