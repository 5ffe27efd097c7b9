#include "relay_case.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "paths.h"
#include "process_find.h"
#include "process_run.h"
#include "wait_until.h"

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

RelayCase::RelayCase(const std::wstring& tag) : dir(tag) {
    // Each test case runs in its own process, so the process id keeps parallel runs apart.
    const DWORD pid = GetCurrentProcessId();
    setNumbers(static_cast<int32_t>(pid), static_cast<int32_t>(pid % 100000 + 100));
    downloaderFolder = dir.file(L"dl");
    workDir = dir.file(L"cwd");
    CreateDirectoryW(downloaderFolder.c_str(), nullptr);
    CreateDirectoryW(workDir.c_str(), nullptr);
    options.downloaderFolder = downloaderFolder;
    options.currentDir = workDir;
    options.scratchDir = dir.path();
}

void RelayCase::setNumbers(int32_t hostNumber, int32_t jobNumber) {
    options.hostNumber = hostNumber;
    options.jobNumber = jobNumber;
    options.lockstepSemaphore = lockstepSemaphoreName(hostNumber, jobNumber);
}

void RelayCase::installDownloader(const std::vector<std::string>& script, const std::wstring& folder) {
    std::string text;
    for (const std::string& line : script) text += line + "\n";
    ASSERT_TRUE(installStandin(in(folder), text));
}

std::string RelayCase::lockstep() const { return "lockstep " + toUtf8(options.lockstepSemaphore) + " 15000"; }

HostSim& RelayCase::start() {
    host_ = std::make_unique<HostSim>(options);
    EXPECT_TRUE(host_->start()) << "hostsim could not set up the host or start the relay "
                                << host_->relayStartError();
    return *host_;
}

HostSim& RelayCase::startSites() {
    options.sitesMode = L"1";
    return startJob(L"youtube-dl -o x --list-extractors");
}

HostSim& RelayCase::startJob(const std::wstring& command) {
    HostSim& host = start();
    host.writeMailbox(command);
    return host;
}

AssertionResult RelayCase::ended(DWORD timeoutMs) {
    if (!host_->waitForExit(timeoutMs)) return AssertionFailure() << "the relay did not end within " << timeoutMs << " ms";
    if (host_->exitCode() != 0) return AssertionFailure() << "the relay ended with exit code " << host_->exitCode();
    return AssertionSuccess();
}

AssertionResult RelayCase::endsWithin(Ending how, double ms) {
    const char* what = how == Ending::StopMarker ? "the stop marker" : "the host window closed";
    const double from = host_->nowMs();
    if (how == Ending::StopMarker) host_->writeMailbox(contract::kStopMarker);
    else host_->closeWindow();
    AssertionResult end = ended(10000);
    if (!end) return end << " after " << what;
    const double took = host_->events(Kind::Exit)[0].atMs - from;
    if (took >= ms) return AssertionFailure() << "the relay ended " << took << " ms after " << what << ", not within " << ms;
    return AssertionSuccess();
}

namespace {

using Notice = std::pair<WPARAM, LPARAM>;
using Box = std::pair<std::wstring, std::wstring>;

std::string listed(const std::vector<Notice>& notices) {
    std::string text;
    for (const Notice& n : notices) text += "(" + std::to_string(n.first) + ", " + std::to_string(n.second) + ") ";
    return notices.empty() ? "none " : text;
}

std::string listed(const std::vector<Box>& boxes) {
    std::string text;
    for (const Box& b : boxes) text += "\"" + toUtf8(b.first) + "\": \"" + toUtf8(b.second) + "\" ";
    return boxes.empty() ? "none " : text;
}

}  // namespace

AssertionResult RelayCase::noticesWere(Notices expected) const {
    std::vector<Notice> want, got;
    const int kinds = static_cast<int>(expected);
    if (kinds & static_cast<int>(Notices::FirstData)) want.emplace_back(contract::kFirstData, contract::kFirstData);
    if (kinds & static_cast<int>(Notices::EndOfData)) want.emplace_back(contract::kEndOfData, options.jobNumber);
    for (const HostEvent& e : host_->events(Kind::Notice)) got.emplace_back(e.wParam, e.lParam);
    if (got == want) return AssertionSuccess();
    return AssertionFailure() << "the host got the notices " << listed(got) << "instead of " << listed(want);
}

AssertionResult RelayCase::boxesWere(const std::vector<Box>& expected) const {
    std::vector<Box> shown;
    for (const HostEvent& e : host_->events(Kind::Box)) shown.emplace_back(e.caption, e.text);
    if (shown == expected) return AssertionSuccess();
    return AssertionFailure() << "the relay showed the boxes " << listed(shown) << "instead of " << listed(expected);
}

std::vector<std::string> RelayCase::lockstepWrites(const std::vector<std::string>& writes) const {
    std::vector<std::string> script = {lockstep()};
    for (const std::string& bytes : writes) script.push_back(writeOf(bytes));
    return script;
}

StandinRecord RelayCase::standin(const std::wstring& folder) const {
    return readStandinRecord(in(folder) + L"\\" + kStandinRecord);
}

DWORD RelayCase::standinProcessId(const std::wstring& folder, DWORD timeoutMs) const {
    std::vector<std::wstring> starts;
    if (!waitUntil([&] { return !(starts = standinValues(standin(folder), L"start")).empty(); }, timeoutMs)) return 0;
    return static_cast<DWORD>(std::stoul(starts[0]));
}

namespace {

UniqueHandle openStandin(DWORD processId, const std::wstring& folder, DWORD access) {
    if (processId == 0) return {};  // it never started
    UniqueHandle process(OpenProcess(access | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    const std::wstring image = processImage(process.get());
    const std::wstring expected = folder + L"\\youtube-dl.exe";
    if (CompareStringOrdinal(image.c_str(), int(image.size()), expected.c_str(), int(expected.size()), TRUE) != CSTR_EQUAL)
        return {};
    return process;
}

}  // namespace

bool RelayCase::standinAlive(DWORD processId, const std::wstring& folder) const {
    UniqueHandle process = openStandin(processId, in(folder), SYNCHRONIZE);
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

bool RelayCase::endStandin(DWORD processId, const std::wstring& folder) const {
    UniqueHandle process = openStandin(processId, in(folder), SYNCHRONIZE | PROCESS_TERMINATE);
    if (!process) return true;
    TerminateProcess(process.get(), 1);
    return WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0;
}

std::string writeOf(const std::string& bytes) { return "write " + toHex(bytes); }

std::vector<std::string> writesInPieces(const std::string& bytes, size_t piece) {
    std::vector<std::string> script;
    for (size_t at = 0; at < bytes.size(); at += piece) script.push_back(writeOf(bytes.substr(at, piece)));
    return script;
}

std::wstring unitsOf(const std::string& bytes) {
    std::wstring units;
    for (unsigned char b : bytes) units += static_cast<wchar_t>(b);
    return units;
}

std::wstring fixturePath(const std::wstring& name) { return hostPath(VELVOX_FIXTURES_DIR) + L"\\" + name; }

bool passesUnderLocale(const std::string& locale, const std::wstring& reportPath) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    wchar_t loader[MAX_PATH * 4];
    const DWORD loaderLength = GetEnvironmentVariableW(L"WINELOADER", loader, MAX_PATH * 4);
    wchar_t self[MAX_PATH * 4];
    const DWORD selfLength = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    if (test == nullptr || loaderLength == 0 || loaderLength >= MAX_PATH * 4 || selfLength == 0 ||
        selfLength >= MAX_PATH * 4) {
        return false;
    }
    const std::string filter = std::string(test->test_suite_name()) + "." + test->name();
    // Wine starts a Unix program with the command line split into its arguments. It hands back no
    // process to wait for, so the run is followed through its report, written when it ends.
    std::string error;
    if (!startUnixProgram("/usr/bin/env", {L"LC_ALL=" + fromUtf8(locale), loader, self,
                                           L"--gtest_filter=" + fromUtf8(filter), L"--gtest_output=xml:" + reportPath},
                          &error)) {
        std::printf("run under LC_ALL=%s: %s\n", locale.c_str(), error.c_str());
        return false;
    }
    std::string report;
    if (!waitUntil([&] { return (report = readFileBytes(reportPath)).find("</testsuites>") != std::string::npos; }, 100000,
                   200)) {
        return false;
    }
    const bool passed = report.find("<testsuites tests=\"1\" failures=\"0\"") != std::string::npos &&
                        report.find("<skipped") == std::string::npos;
    if (!passed) std::printf("run under LC_ALL=%s:\n%s\n", locale.c_str(), report.c_str());
    return passed;
}
