#include "launcher_harness.h"

#include "paths.h"
#include "process_run.h"
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

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments,
                           const std::wstring& currentDir) {
    std::wstring commandLine = quoteArg(program) + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    startMs_ = nowMs();
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        currentDir.empty() ? nullptr : currentDir.c_str(), &si, &pi)) {
        return;
    }
    process_.reset(pi.hProcess);
    CloseHandle(pi.hThread);
    processId_ = pi.dwProcessId;
    threadId_ = pi.dwThreadId;
}

ChildProcess::~ChildProcess() {
    if (process_ && !hasExited()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool ChildProcess::hasExited() const { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }

bool ChildProcess::waitForExit(DWORD timeoutMs) {
    if (!process_) return false;
    if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitMs_ == 0) exitMs_ = nowMs();
    return true;
}

DWORD ChildProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

bool watchUntilExit(ChildProcess& child, DWORD timeoutMs, std::vector<SeenBox>& boxes,
                    const std::function<void()>& onPoll) {
    double deadline = nowMs() + timeoutMs;
    // Not expected in these runs: answered so the launcher can end and the test can report it.
    BoxAnswerer answerer(child.processId(), {IDNO, IDOK});
    while (!child.waitForExit(20)) {
        if (onPoll) onPoll();
        for (const SeenBox& box : answerer.poll()) boxes.push_back(box);
        if (nowMs() > deadline) return false;
    }
    if (onPoll) onPoll();
    return true;
}

bool waitForNestor(DWORD timeoutMs) {
    return waitUntil([] { return FindWindowW(nullptr, L"Nestor") != nullptr; }, timeoutMs, 20);
}

