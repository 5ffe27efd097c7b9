#include "launcher_harness.h"

#include "paths.h"
#include "standin_record.h"
#include "wait_until.h"

double nowMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long units = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<double>(units) / 10000.0;
}

std::vector<HostStart> readHostStarts(const std::wstring& recordPath) {
    std::vector<HostStart> starts;
    for (const auto& field : readStandinRecord(recordPath)) {
        if (field.first == L"start") starts.push_back({std::stoull(field.second) / 10000.0, {}, {}, {}});
        if (starts.empty()) continue;
        if (field.first == L"currentdir") starts.back().currentDir = field.second;
        if (field.first == L"commandline") starts.back().commandLine = field.second;
        if (field.first == L"windowsversion") starts.back().windowsVersion = toUtf8(field.second);
    }
    return starts;
}

LauncherInstall::LauncherInstall(const std::wstring& tag, bool withHost) : dir_(tag) {
    copyFileTo(builtProgram(L"launcher.exe"), launcher());
    if (withHost) copyFileTo(builtProgram(L"velvoxapp.exe"), dir_.file(L"velvoxapp.exe"));
}

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments, const std::wstring& currentDir)
    : startMs_(nowMs()) {
    start({program, arguments, currentDir});
}

bool ChildProcess::waitForExit(DWORD timeoutMs) {
    if (!StartedProcess::waitForExit(timeoutMs)) return false;
    if (exitMs_ == 0) exitMs_ = nowMs();
    return true;
}

bool ChildProcess::watchUntilExit(DWORD timeoutMs, const std::function<void()>& onPoll) {
    double deadline = nowMs() + timeoutMs;
    // Not expected in these runs: answered so the launcher can end and the test can report it.
    BoxAnswerer answerer(processId(), {IDNO, IDOK});
    while (!waitForExit(20)) {
        if (onPoll) onPoll();
        for (const SeenBox& box : answerer.poll()) boxes_.push_back(box);
        if (nowMs() > deadline) return false;
    }
    if (onPoll) onPoll();
    return true;
}

bool waitForNestor(DWORD timeoutMs) {
    return waitUntil([] { return FindWindowW(nullptr, L"Nestor") != nullptr; }, timeoutMs, 20);
}

