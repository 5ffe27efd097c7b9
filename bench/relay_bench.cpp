// relay_bench [rounds] [flood bytes] [write bytes] [probes] [probe gap ms] [jobs]
// The relay's run-time figures, each side by side with its baseline, the rounds interleaved so
// that drift in the machine's load falls on all of them alike:
//   throughput  the stand-in floods the pipe with progress lines; the relay, pipe_baseline alone
//               (the pipe's limit) and pipe_baseline with one WM_COPYDATA a line (the contract's
//               limit) each echo it to a file, the last two sending to hostsim's window
//   latency     stamped lines, paced one per read, from the downloader's write to hostsim's receipt
//   start-up    CreateProcessW to the taking of a command written before the start, against
//               start_baseline, which makes the relay's system calls up to that first poll
//   working set the peak working set of each program in the throughput runs
//   sites list  the real supported-sites list as a Windows downloader prints it, in 4096-byte writes,
//               through the relay in sites mode and through pipe_baseline with its messages: how
//               many line messages each sends
//   many jobs   `jobs` hosts at once, each with its own relay and a stand-in that replays the
//               recorded download: the time until all have ended against one job alone, and the
//               peak of the relays' summed working sets; every job is checked whole
// Prints "RUN <figure> <value>" per round and "RESULT <figure> <value>" per figure (the median of
// the rounds), for bench/run to put in its table; progress goes to standard error.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "contract.h"
#include "hostsim.h"
#include "paths.h"
#include "process_find.h"
#include "recording.h"
#include "standin_record.h"
#include "stats.h"
#include "temp_dir.h"
#include "window_find.h"

namespace {

enum class Subject { Relay, Pipe, PipeMessages, StartBaseline };

const char* subjectKey(Subject subject) {
    switch (subject) {
    case Subject::Relay: return "relay";
    case Subject::Pipe: return "pipe";
    case Subject::PipeMessages: return "pipe_messages";
    case Subject::StartBaseline: return "start_baseline";
    }
    return "?";
}

const wchar_t kCommand[] = L"youtube-dl -o bench.mp4 http://127.0.0.1/bench.mp4";
// The first write, which the relay answers with the first-data notice and its 2000 ms pause.
const char kFirstLine[] = "[download] Destination: bench.mp4\n";
// Longer than that pause, so the timed writes meet a relay that reads again.
constexpr int kAfterFirstMs = 3000;
constexpr DWORD kRunTimeoutMs = 300000;
// How long a replaying stand-in waits for its host to take a line before it writes the next.
constexpr int kLockstepMs = 15000;

double frequency() {
    static const double perSecond = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    return perSecond;
}

void say(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

void print(const char* kind, const std::string& figure, double value) {
    std::printf("%s %s %.6g\n", kind, figure.c_str(), value);
    std::fflush(stdout);
}

// Host numbers apart from other runs of this process and from other processes' runs.
int32_t hostNumberFor(int serial) { return static_cast<int32_t>(GetCurrentProcessId() % 20000) * 1000 + serial; }

// One program in the relay's place under hostsim, with its own folder, numbers and stand-in.
class Run {
public:
    Run(Subject subject, const std::string& script, int serial) : subject_(subject), dir_(L"bench") {
        downloaderFolder_ = dir_.file(L"dl");
        CreateDirectoryW(downloaderFolder_.c_str(), nullptr);
        ok_ = installStandin(downloaderFolder_, script);
        options_.hostNumber = hostNumberFor(serial);
        options_.jobNumber = serial;
        options_.downloaderFolder = downloaderFolder_;
        options_.currentDir = dir_.path();
        options_.outputFile = echoPath();
        const std::wstring downloader = downloaderFolder_ + L"\\youtube-dl.exe";
        const std::wstring title = contract::windowTitle(options_.hostNumber);
        switch (subject) {
        case Subject::Relay: options_.relayPath = builtProgram(L"relay.exe"); break;
        case Subject::Pipe:
            options_.relayPath = builtProgram(L"pipe_baseline.exe");
            options_.arguments = {downloader};
            break;
        case Subject::PipeMessages:
            options_.relayPath = builtProgram(L"pipe_baseline.exe");
            options_.arguments = {downloader, title};
            break;
        case Subject::StartBaseline:
            // With the relay's six arguments, from which it derives the relay's names.
            options_.relayPath = builtProgram(L"start_baseline.exe");
            break;
        }
    }

    HostOptions& options() { return options_; }
    void setCommand(const std::wstring& command) { command_ = command; }
    std::wstring echoPath() const { return dir_.file(L"echo.bin"); }

    // Starts the program; the relay is then handed its command.
    HostSim* start(bool commandFirst = false) {
        if (!ok_) {
            say("cannot install the stand-in downloader, error " + std::to_string(GetLastError()));
            return nullptr;
        }
        if (commandFirst) options_.initialMailbox = command_;
        host_ = std::make_unique<HostSim>(options_);
        if (!host_->start()) {
            say("hostsim could not set up or start the program, error " + std::to_string(GetLastError()));
            return nullptr;
        }
        if (subject_ == Subject::Relay && !commandFirst) host_->writeMailbox(command_);
        return host_.get();
    }

    // Starts the program and waits for it to end; says why under `figure` when it does not.
    HostSim* runToEnd(const char* figure) {
        HostSim* host = start();
        if (host == nullptr || !host->waitForExit(kRunTimeoutMs)) {
            say(std::string(figure) + ": " + subjectKey(subject_) + " did not run to its end");
            return nullptr;
        }
        return host;
    }

    HostSim* host() { return host_.get(); }
    StandinRecord standin() const { return readStandinRecord(downloaderFolder_ + L"\\" + kStandinRecord); }
    // The Notepad a sites-mode relay opened for its list, in this run's folder.
    void closeNotepads() const {
        for (DWORD id : findProcesses(L"notepad.exe", dir_.path() + L"\\")) closeWindowAndWait(nullptr, id, 10000);
    }

private:
    Subject subject_;
    TempDir dir_;
    std::wstring downloaderFolder_;
    HostOptions options_;
    std::wstring command_ = kCommand;
    std::unique_ptr<HostSim> host_;
    bool ok_ = false;
};

// A stand-in script: the first line, then a pause past the relay's first-data pause, then `rest`.
std::string afterFirstLine(const std::string& rest) {
    return "write " + toHex(kFirstLine) + "\nsleep " + std::to_string(kAfterFirstMs) + "\n" + rest + "\n";
}

// "<first> <last>" as the stand-in records its flood.
bool parseFlood(const std::wstring& text, long long& first, long long& last) {
    wchar_t* end = nullptr;
    first = std::wcstoll(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != L' ') return false;
    const wchar_t* rest = end + 1;
    last = std::wcstoll(rest, &end, 10);
    return end != rest && last > first;
}

// "[probe] <n> <counter>" as the stand-in writes it, its LF cut off by the relay.
bool parseProbe(const std::wstring& text, long long& sent) {
    static const std::wstring tag = L"[probe] ";
    if (text.compare(0, tag.size(), tag) != 0) return false;
    wchar_t* end = nullptr;
    std::wcstol(text.c_str() + tag.size(), &end, 10);
    if (*end != L' ') return false;
    const wchar_t* counter = end + 1;
    sent = std::wcstoll(counter, &end, 10);
    return end != counter;
}

struct Settings {
    int rounds = 5;
    unsigned long long floodBytes = 64ull << 20;
    unsigned writeBytes = 4096;
    int probes = 200;
    unsigned probeGapMs = 20;
    int jobs = 32;
};

int serial = 0;

struct FloodResult {
    bool ok = false;
    double mibPerSecond = 0;
    double messages = 0;
    double peakWorkingSet = 0;
};

FloodResult floodThrough(Subject subject, const Settings& settings) {
    Run run(subject,
            afterFirstLine("flood " + std::to_string(settings.floodBytes) + " " + std::to_string(settings.writeBytes)),
            ++serial);
    // Only the messages' count is wanted: their 8 KB texts are not kept.
    run.options().keepPayloads = false;
    FloodResult result;
    HostSim* host = run.runToEnd("throughput");
    if (host == nullptr) return result;
    const std::vector<std::wstring> flood = standinValues(run.standin(), L"flood");
    long long first = 0, last = 0;
    if (flood.empty() || !parseFlood(flood.front(), first, last)) {
        say(std::string("throughput: no flood timing from the stand-in under ") + subjectKey(subject));
        return result;
    }
    // Nothing lost on the way: the echo holds every byte (the relay's text-mode output turns the
    // first line's LF into CR LF and adds its closing line).
    const std::string echo = readFileBytes(run.echoPath());
    size_t expected = sizeof kFirstLine - 1 + settings.floodBytes;
    if (subject == Subject::Relay) expected += 1 + std::string(contract::kExitNoData).size();
    if (echo.size() != expected) {
        say(std::string("throughput: ") + subjectKey(subject) + " echoed " + std::to_string(echo.size()) +
            " bytes, expected " + std::to_string(expected));
        return result;
    }
    result.ok = true;
    result.mibPerSecond = double(settings.floodBytes) / double(1 << 20) / (double(last - first) / frequency());
    result.messages = double(host->events(HostEvent::Kind::CopyData).size());
    result.peakWorkingSet = double(host->peakWorkingSet());
    return result;
}

// The real supported-sites list as a Windows downloader prints it, as a stand-in script of
// 4096-byte writes; empty when the fixture cannot be read.
std::string sitesListScript() {
    const std::string list = windowsPrinted(readFileBytes(hostPath(VELVOX_FIXTURES_DIR) + L"\\supported-sites.txt"));
    std::string script;
    for (size_t at = 0; at < list.size(); at += 4096) script += "write " + toHex(list.substr(at, 4096)) + "\n";
    return script;
}

// How many line messages the host gets for the sites list; -1 when the run failed.
double sitesMessages(Subject subject, const std::string& script) {
    Run run(subject, script, ++serial);
    if (subject == Subject::Relay) {
        run.options().sitesMode = L"1";
        run.setCommand(L"youtube-dl -o x --list-extractors");
    }
    HostSim* host = run.runToEnd("sites list");
    run.closeNotepads();  // a list of more than 50 entries is shown
    if (host == nullptr) return -1;
    return double(host->events(HostEvent::Kind::CopyData).size());
}

struct LatencyResult {
    bool ok = false;
    double medianMs = 0;
    double p99Ms = 0;
};

LatencyResult probeThrough(Subject subject, const Settings& settings) {
    Run run(subject,
            afterFirstLine("stamp " + std::to_string(settings.probes) + " " + std::to_string(settings.probeGapMs)),
            ++serial);
    LatencyResult result;
    HostSim* host = run.runToEnd("latency");
    if (host == nullptr) return result;
    std::vector<double> latencies;
    for (const HostEvent& e : host->events(HostEvent::Kind::CopyData)) {
        long long sent = 0;
        if (!parseProbe(e.text, sent)) continue;
        latencies.push_back(double(e.counter - sent) * 1000.0 / frequency());
    }
    // Each probe is its own read and so its own message; fewer means writes ran together.
    if (latencies.size() != size_t(settings.probes)) {
        say(std::string("latency: ") + subjectKey(subject) + " relayed " + std::to_string(latencies.size()) +
            " of " + std::to_string(settings.probes) + " probes as their own lines");
        return result;
    }
    result.ok = true;
    result.medianMs = median(latencies);
    result.p99Ms = percentile(latencies, 99);
    return result;
}

// CreateProcessW to the moment the command written before the start is gone from the mailbox.
double startUp(Subject subject) {
    Run run(subject, "exit 0\n", ++serial);
    HostSim* host = run.start(true);
    if (host == nullptr) return -1;
    const double giveUpAt = host->nowMs() + 30000;
    while (!host->mailboxText().empty()) {
        if (host->nowMs() > giveUpAt) return -1;
        Sleep(1);
    }
    return host->nowMs() - host->relayStartedAtMs();
}

// The recorded download as the relay should pass it on: the host gets each line of each write
// (its CR kept, its LF gone), the console the writes, each LF as CR LF once more in text mode.
struct Replay {
    bool ok = false;
    std::wstring path;
    std::vector<std::wstring> lines;
    std::string echo;
};

Replay loadReplay() {
    Replay replay;
    replay.path = hostPath(VELVOX_FIXTURES_DIR) + L"\\progress-recording.json";
    const Recording recording = parseRecording(readFileBytes(replay.path));
    if (!recording.ok || recording.writes.empty()) return replay;
    const RelayedRecording relayed = relayedFor(recording);
    replay.lines = relayed.lines;
    replay.echo = relayed.echo + contract::kExitNoData;
    replay.ok = true;
    return replay;
}

// What went wrong in one replayed job; empty when it ran whole: its exit, both notices with its
// own job number, every line, its console output, and its own command at its stand-in.
std::string replayFault(Run& run, const Replay& replay, const std::wstring& arguments) {
    HostSim& host = *run.host();
    const int32_t job = run.options().jobNumber;
    if (host.exitCode() != 0) return "exit code " + std::to_string(host.exitCode());
    const std::vector<HostEvent> notices = host.events(HostEvent::Kind::Notice);
    if (notices.size() != 2 || notices[0].wParam != contract::kFirstData || notices[0].lParam != static_cast<LPARAM>(contract::kFirstData) || notices[1].wParam != contract::kEndOfData ||
        notices[1].lParam != job) {
        return std::to_string(notices.size()) + " notices, not first data and end of data for job " + std::to_string(job);
    }
    const std::vector<std::wstring> lines = relayedLines(host);
    if (lines != replay.lines) {
        return std::to_string(lines.size()) + " lines, not the recording's " + std::to_string(replay.lines.size());
    }
    if (readFileBytes(run.echoPath()) != replay.echo) return "console output not the recording's";
    if (standinValues(run.standin(), L"commandline") != std::vector<std::wstring>{arguments}) {
        return "its stand-in did not get its command";
    }
    return {};
}

struct JobsResult {
    bool ok = false;
    double ms = 0;                 // the first host's start to the last relay's end
    double peakSummedWorkingSet = 0;
    double sumOfPeaks = 0;
};

// `count` hosts at once, each relay with its own stand-in replaying the recording in lockstep with
// its own host.
JobsResult replayJobs(int count, const Replay& replay) {
    std::vector<std::unique_ptr<Run>> runs;
    std::vector<std::wstring> arguments;
    for (int i = 0; i < count; ++i) {
        const int id = ++serial;
        const std::wstring lockstep = lockstepSemaphoreName(hostNumberFor(id), id);
        runs.push_back(std::make_unique<Run>(Subject::Relay,
                                             "lockstep " + toUtf8(lockstep) + " " + std::to_string(kLockstepMs) +
                                                 "\nreplay " + toUtf8(replay.path) + "\n",
                                             id));
        runs.back()->options().lockstepSemaphore = lockstep;
        arguments.push_back(L" -o job" + std::to_wstring(id) + L".mp4 http://127.0.0.1/job.mp4");
        runs.back()->setCommand(L"youtube-dl" + arguments.back());
    }
    JobsResult result;
    LARGE_INTEGER begun;
    QueryPerformanceCounter(&begun);
    // Handles of our own, so that all relays' working sets are read at one moment.
    std::vector<UniqueHandle> relays;
    for (auto& run : runs) {
        HostSim* host = run->start();
        if (host == nullptr) return result;
        relays.emplace_back(
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, host->relayProcessId()));
    }
    const ULONGLONG giveUpAt = GetTickCount64() + kRunTimeoutMs;
    SIZE_T peak = 0;
    for (bool running = true; running;) {
        running = false;
        SIZE_T sum = 0;
        for (const UniqueHandle& relay : relays) {
            // An ended relay counts no more: under Wine its last figures may linger.
            if (!relay || WaitForSingleObject(relay.get(), 0) != WAIT_TIMEOUT) continue;
            running = true;
            PROCESS_MEMORY_COUNTERS memory{};
            memory.cb = sizeof memory;
            if (GetProcessMemoryInfo(relay.get(), &memory, sizeof memory)) sum += memory.WorkingSetSize;
        }
        if (sum > peak) peak = sum;
        if (GetTickCount64() > giveUpAt) {
            say("jobs: not all of " + std::to_string(count) + " relays ended");
            return result;
        }
        if (running) Sleep(20);
    }
    int64_t lastEnd = begun.QuadPart;
    for (size_t i = 0; i < runs.size(); ++i) {
        HostSim& host = *runs[i]->host();
        if (!host.waitForExit(30000)) {
            say("jobs: job " + std::to_string(runs[i]->options().jobNumber) + " did not run to its end");
            return result;
        }
        const std::string fault = replayFault(*runs[i], replay, arguments[i]);
        if (!fault.empty()) {
            say("jobs: job " + std::to_string(runs[i]->options().jobNumber) + " of " + std::to_string(count) + ": " +
                fault);
            return result;
        }
        lastEnd = std::max(lastEnd, host.events(HostEvent::Kind::Exit).front().counter);
        result.sumOfPeaks += double(host.peakWorkingSet());
    }
    result.ok = true;
    result.ms = double(lastEnd - begun.QuadPart) * 1000.0 / frequency();
    result.peakSummedWorkingSet = double(peak);
    return result;
}

// Each figure's values over the rounds, kept in the order the figures first came (the first
// round's order, which the results keep).
class Figures {
public:
    void add(const std::string& figure, double value) {
        print("RUN", figure, value);
        for (auto& [name, values] : all_) {
            if (name == figure) {
                values.push_back(value);
                return;
            }
        }
        all_.push_back({figure, {value}});
    }
    void printMedians() const {
        for (const auto& [name, values] : all_) print("RESULT", name, median(values));
    }

private:
    std::vector<std::pair<std::string, std::vector<double>>> all_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Settings settings;
    if (argc > 1) settings.rounds = std::max(1, _wtoi(argv[1]));
    if (argc > 2) settings.floodBytes = _wcstoui64(argv[2], nullptr, 10);
    if (argc > 3) settings.writeBytes = std::max(1, _wtoi(argv[3]));
    if (argc > 4) settings.probes = std::max(1, _wtoi(argv[4]));
    if (argc > 5) settings.probeGapMs = unsigned(std::max(0, _wtoi(argv[5])));
    if (argc > 6) settings.jobs = std::max(2, _wtoi(argv[6]));
    print("SETTING", "rounds", settings.rounds);
    print("SETTING", "flood_bytes", double(settings.floodBytes));
    print("SETTING", "write_bytes", settings.writeBytes);
    print("SETTING", "probes", settings.probes);
    print("SETTING", "probe_gap_ms", settings.probeGapMs);
    print("SETTING", "jobs", settings.jobs);
    const Replay replay = loadReplay();
    if (!replay.ok) {
        say("jobs: cannot read the progress recording " + toUtf8(replay.path));
        return 1;
    }
    const std::string sitesScript = sitesListScript();
    if (sitesScript.empty()) {
        say("sites list: cannot read the supported-sites fixture");
        return 1;
    }

    // The relay and the baseline it is held to run next to each other, first one then the other
    // leading, so that a drift in the machine's load does not always fall on the same side.
    const std::vector<Subject> flooded[2] = {{Subject::Relay, Subject::PipeMessages, Subject::Pipe},
                                             {Subject::PipeMessages, Subject::Relay, Subject::Pipe}};
    // The relay and baseline (b): the sites list's messages, then the latency.
    const std::vector<Subject> paired[2] = {{Subject::Relay, Subject::PipeMessages},
                                            {Subject::PipeMessages, Subject::Relay}};
    const std::vector<Subject> started[2] = {{Subject::Relay, Subject::StartBaseline},
                                             {Subject::StartBaseline, Subject::Relay}};
    // One job alone and all jobs at once, first one then the other leading.
    const std::vector<int> jobCounts[2] = {{1, settings.jobs}, {settings.jobs, 1}};
    Figures figures;

    // One round, its leading subjects as `turn` says; false at the first fault, which is said.
    auto runRound = [&](int turn) {
        for (Subject s : flooded[turn]) {
            const FloodResult r = floodThrough(s, settings);
            if (!r.ok) return false;
            const std::string key = subjectKey(s);
            figures.add("throughput." + key, r.mibPerSecond);
            figures.add("peak_working_set." + key, r.peakWorkingSet);
            if (s != Subject::Pipe) figures.add("messages." + key, r.messages);
        }
        for (Subject s : paired[turn]) {
            const double messages = sitesMessages(s, sitesScript);
            if (messages < 0) return false;
            figures.add(std::string("messages_sites.") + subjectKey(s), messages);
        }
        for (Subject s : paired[turn]) {
            const LatencyResult r = probeThrough(s, settings);
            if (!r.ok) return false;
            const std::string key = subjectKey(s);
            figures.add("latency_median." + key, r.medianMs);
            figures.add("latency_p99." + key, r.p99Ms);
        }
        for (Subject s : started[turn]) {
            const double ms = startUp(s);
            if (ms < 0) {
                say(std::string("start-up: ") + subjectKey(s) + " never took the command");
                return false;
            }
            figures.add(std::string("start_up.") + subjectKey(s), ms);
        }
        for (int count : jobCounts[turn]) {
            const JobsResult r = replayJobs(count, replay);
            if (!r.ok) return false;
            const std::string n = std::to_string(count);
            figures.add("replay_time." + n, r.ms);
            figures.add("peak_working_set.replay_" + n, r.peakSummedWorkingSet);
            figures.add("sum_of_peaks.replay_" + n, r.sumOfPeaks);
        }
        return true;
    };
    for (int round = 1; round <= settings.rounds; ++round) {
        say("round " + std::to_string(round) + " of " + std::to_string(settings.rounds));
        if (!runRound((round - 1) % 2)) return 1;
    }
    figures.printMedians();
    return 0;
}
