// hostsim.exe: one download job as the recorder host sees it, printed live.
//   hostsim [--replay recording.json] [--command text] [--host n] [--job n] [--console]
//           [--relay relay.exe] [--downloader youtube-dl.exe]
//           [--folder dir] [--hang-on-line n] [--no-job]
// The stand-in downloader is copied into a fresh downloader folder and replays the recording in
// lockstep with the host, so that each write of the recording reaches the host as its own line.
// For tests that kill the host: --folder names a downloader folder that already holds the
// stand-in and its script (lockstep semaphore "vx_lockstep_<host>_<job>"), --hang-on-line makes the
// window stop answering inside that line relay message, and --no-job leaves the relay in
// hostsim's own job rather than one that would end it together with hostsim.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "hostsim.h"
#include "paths.h"
#include "standin_record.h"
#include "temp_dir.h"

namespace {

std::string shown(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\r') {
            out += L"\\r";
        } else if (c == L'\n') {
            out += L"\\n";
        } else if (c < 0x20) {
            wchar_t code[8];
            swprintf(code, 8, L"\\x%02x", unsigned(c));
            out += code;
        } else {
            out += c;
        }
    }
    return toUtf8(out);
}

std::string shownBytes(const std::string& bytes) {
    std::wstring units;
    for (unsigned char b : bytes) units += wchar_t(b);
    return shown(units);
}

std::mutex printing;

void say(double atMs, const std::string& what) {
    std::lock_guard<std::mutex> lock(printing);
    printf("[%8.3f s] %s\n", atMs / 1000.0, what.c_str());
    fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring relay = builtProgram(L"relay.exe");
    std::wstring downloader = builtProgram(L"youtube-dl.exe");
    std::wstring replay;
    std::wstring command = L"youtube-dl -o clip.mp4 http://127.0.0.1:18731/clip.mp4";
    int32_t hostNumber = static_cast<int32_t>(GetCurrentProcessId());
    int32_t jobNumber = 1;
    bool showConsole = false;
    std::wstring givenFolder;
    size_t hangOnLine = 0;
    bool ownJob = true;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--console") {
            showConsole = true;
        } else if (arg == L"--replay" && hasValue) {
            replay = argv[++i];
        } else if (arg == L"--command" && hasValue) {
            command = argv[++i];
        } else if (arg == L"--host" && hasValue) {
            hostNumber = _wtoi(argv[++i]);
        } else if (arg == L"--job" && hasValue) {
            jobNumber = _wtoi(argv[++i]);
        } else if (arg == L"--relay" && hasValue) {
            relay = argv[++i];
        } else if (arg == L"--downloader" && hasValue) {
            downloader = argv[++i];
        } else if (arg == L"--folder" && hasValue) {
            givenFolder = argv[++i];
        } else if (arg == L"--hang-on-line" && hasValue) {
            hangOnLine = static_cast<size_t>(_wtoi(argv[++i]));
        } else if (arg == L"--no-job") {
            ownJob = false;
        } else {
            fprintf(stderr, "hostsim: unknown argument %s\n", toUtf8(arg).c_str());
            return 2;
        }
    }

    const std::wstring lockstepName = lockstepSemaphoreName(hostNumber, jobNumber);
    std::unique_ptr<TempDir> freshFolder;
    if (givenFolder.empty()) {
        freshFolder = std::make_unique<TempDir>(L"hostsim");
        std::string script = "lockstep " + toUtf8(lockstepName) + " 10000\n";
        if (!replay.empty()) script += "replay " + toUtf8(replay) + "\n";
        if (!installStandin(freshFolder->path(), script, downloader)) {
            fprintf(stderr, "hostsim: cannot copy the downloader %s\n", toUtf8(downloader).c_str());
            return 1;
        }
    }
    const std::wstring folder = givenFolder.empty() ? freshFolder->path() : givenFolder;

    size_t lines = 0;
    bool endOfData = false;
    HostOptions options;
    options.hostNumber = hostNumber;
    options.jobNumber = jobNumber;
    options.relayPath = relay;
    options.downloaderFolder = folder;
    options.currentDir = folder;
    options.lockstepSemaphore = lockstepName;
    options.hangOnLine = hangOnLine;
    options.ownJob = ownJob;
    options.onEvent = [&](const HostEvent& e) {
        switch (e.kind) {
        case HostEvent::Kind::Notice:
            if (e.wParam == contract::kEndOfData) endOfData = true;
            say(e.atMs, "notice " + std::to_string(e.wParam) +
                            (e.wParam == contract::kFirstData ? " (first data)" : e.wParam == contract::kEndOfData ? " (end of data)" : "") +
                            ", lParam " + std::to_string(e.lParam));
            break;
        case HostEvent::Kind::CopyData:
            ++lines;
            say(e.atMs, "line   \"" + shown(e.text) + "\"");
            break;
        case HostEvent::Kind::Box:
            say(e.atMs, "box    [" + toUtf8(e.caption) + "] " + shown(e.text));
            break;
        case HostEvent::Kind::MailboxTaken:
            say(e.atMs, "command taken; mailbox now \"" + shown(e.text) + "\"");
            break;
        case HostEvent::Kind::Console:
            if (showConsole) say(e.atMs, "console \"" + shownBytes(e.bytes) + "\"");
            break;
        case HostEvent::Kind::Exit:
            say(e.atMs, "relay exited with code " + std::to_string(e.exitCode));
            break;
        }
    };

    HostSim host(options);
    if (!host.start()) {
        const std::string& error = host.relayStartError();
        fprintf(stderr, "hostsim: could not set up the host or start the relay%s%s\n", error.empty() ? "" : ": ",
                error.c_str());
        return 1;
    }
    say(host.nowMs(), "host window \"" + toUtf8(contract::windowTitle(hostNumber)) + "\", mailbox \"" +
                          toUtf8(contract::mailboxName(hostNumber, jobNumber)) +
                          "\"; relay started, process id " + std::to_string(host.relayProcessId()));
    host.writeMailbox(command);
    say(host.nowMs(), "host writes the command \"" + shown(command) + "\"");

    if (!host.waitForExit(120000)) {
        say(host.nowMs(), "relay still running after 120 s; giving up");
        return 1;
    }
    const DWORD code = host.exitCode();
    say(host.nowMs(), std::to_string(lines) + " lines relayed, end of data " + (endOfData ? "seen" : "NOT seen") +
                          ", relay exit code " + std::to_string(code));
    return code == 0 && endOfData && lines > 0 ? 0 : 1;
}
