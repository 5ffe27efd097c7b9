// The launch decision, driven row by row through a scripted platform that logs every call.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "launch_decision.h"

namespace {

const wchar_t kFolder[] = L"C:\\Program Files\\Velvox";
const std::wstring kHost = L"C:\\Program Files\\Velvox\\velvoxapp.exe";
const std::wstring kRuntime = L"C:\\Program Files\\Velvox\\vcredist_x86.exe";

// The system's texts, spelled out here so a changed constant shows up.
const std::wstring kOffer =
    L"Corvid could not be started...\n\nMicrosoft vcredist_x86 package needs to be installed now. Click YES to "
    L"install NO to exit.";
const std::wstring kCannot = L"Corvid cannot be started...\n\nWould you like to see how to resolve this issue now?";
const std::wstring kRunAs =
    L"To resolve this, right-click the shortcut and select \"Run as administrator.\" \n\nTo make the change "
    L"permanent right-click the shortcut, select Properties, click Advanced, and check \"Run as administrator\".";
const std::wstring kContactPrefix = L"Please contact our customer support at ";

struct ScriptedPlatform : LaunchPlatform {
    int matches = 0;
    bool elevated = false;
    bool modern = true;
    uintptr_t hostResult = 42;
    std::vector<int> answers;  // one per yes/no box, in order
    std::vector<std::wstring> log;

    void killTimer() override { log.push_back(L"kill timer"); }
    int adminNameMatches() override {
        log.push_back(L"group scan");
        return matches;
    }
    bool tokenIsElevated() override {
        log.push_back(L"token check");
        return elevated;
    }
    bool isModernWindows() override {
        log.push_back(L"generation");
        return modern;
    }
    void relaunchElevated(const wchar_t* parameters) override {
        log.push_back(std::wstring(L"relaunch [") + (parameters ? parameters : L"(none)") + L"]");
    }
    uintptr_t openFile(const wchar_t* path) override {
        log.push_back(std::wstring(L"open ") + path);
        std::wstring file(path);
        bool host = file.size() >= 14 && file.compare(file.size() - 14, 14, L"\\velvoxapp.exe") == 0;
        return host ? hostResult : 42;
    }
    int warningBox(const wchar_t* text, unsigned buttons) override {
        log.push_back((buttons == kBoxYesNo ? L"yes/no box: " : buttons == kBoxOk ? L"ok box: " : L"? box: ") +
                      std::wstring(text));
        if (buttons != kBoxYesNo) return 1;  // IDOK
        if (answers.empty()) return 2;       // IDCANCEL: the script ran out
        int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    void pumpingWait(uint32_t ms) override { log.push_back(L"pumping wait " + std::to_wstring(ms)); }
    void sleep(uint32_t ms) override { log.push_back(L"sleep " + std::to_wstring(ms)); }
    void endProcess() override { log.push_back(L"exit"); }
};

std::vector<std::wstring> decide(ScriptedPlatform& platform, LaunchSwitches switches = {}) {
    LaunchDecision decision;
    decision.onTimer(platform, kFolder, switches);
    return platform.log;
}

using Log = std::vector<std::wstring>;
const Log kProbes = {L"kill timer", L"group scan", L"token check"};

Log concat(Log a, const Log& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(LauncherDecision, AdministratorNotElevatedRelaunchesAndNeverStartsTheHost) {
    ScriptedPlatform platform;
    platform.matches = 1;
    platform.elevated = false;
    EXPECT_EQ(decide(platform), concat(kProbes, {L"relaunch [(none)]", L"pumping wait 500", L"exit"}));
}

TEST(LauncherDecision, HostIsStartedForEveryOtherProbeAnswer) {
    struct Row {
        int matches;
        bool elevated;
    } rows[] = {{0, false}, {0, true}, {2, false}, {2, true}, {3, false}, {1, true}, {-1, false}};
    for (const Row& row : rows) {
        ScriptedPlatform platform;
        platform.matches = row.matches;
        platform.elevated = row.elevated;
        EXPECT_EQ(decide(platform), concat(kProbes, {L"generation", L"open " + kHost, L"sleep 1000", L"exit"}))
            << "matches " << row.matches << ", elevated " << row.elevated;
    }
}

TEST(LauncherDecision, StartedHostExitsQuietlyOnAnyWindows) {
    for (uintptr_t result : {uintptr_t(32), uintptr_t(33), uintptr_t(0x400000), ~uintptr_t(0)}) {
        for (bool modern : {true, false}) {
            ScriptedPlatform platform;
            platform.hostResult = result;
            platform.modern = modern;
            EXPECT_EQ(decide(platform), concat(kProbes, {L"generation", L"open " + kHost, L"sleep 1000", L"exit"}))
                << "result " << result << ", modern " << modern;
        }
    }
}

TEST(LauncherDecision, FailureCodesOneToThirtyOneOnModernWindowsExitQuietly) {
    for (uintptr_t result = 1; result < 32; ++result) {
        ScriptedPlatform platform;
        platform.hostResult = result;
        EXPECT_EQ(decide(platform), concat(kProbes, {L"generation", L"open " + kHost, L"sleep 1000", L"exit"}))
            << "result " << result;
    }
}

TEST(LauncherDecision, ResultZeroOnModernWindowsAnsweredYesShowsTheRunAsAdministratorSteps) {
    ScriptedPlatform platform;
    platform.hostResult = 0;
    platform.answers = {kAnswerYes};
    EXPECT_EQ(decide(platform), concat(kProbes, {L"generation", L"open " + kHost, L"yes/no box: " + kCannot,
                                                 L"ok box: " + kRunAs, L"exit"}));
}

TEST(LauncherDecision, ResultZeroOnModernWindowsAnsweredNoPointsToSupport) {
    ScriptedPlatform platform;
    platform.hostResult = 0;
    platform.answers = {kAnswerNo};
    Log log = decide(platform);
    ASSERT_EQ(log.size(), 8u);
    EXPECT_EQ(log[5], L"yes/no box: " + kCannot);
    ASSERT_EQ(log[6].rfind(L"ok box: " + kContactPrefix, 0), 0u) << "got: " << std::string(log[6].begin(), log[6].end());
    EXPECT_GT(log[6].size(), (L"ok box: " + kContactPrefix).size()) << "the support address is missing";
    EXPECT_EQ(log[7], L"exit");
}

TEST(LauncherDecision, ResultZeroOnModernWindowsClosedBoxCountsAsNotNo) {
    ScriptedPlatform platform;
    platform.hostResult = 0;  // no answer scripted: the box returns something other than IDNO
    Log log = decide(platform);
    ASSERT_EQ(log.size(), 8u);
    EXPECT_EQ(log[6], L"ok box: " + kRunAs);
}

TEST(LauncherDecision, FailureBeforeVistaOffersTheRuntimeAnsweredYes) {
    for (uintptr_t result : {uintptr_t(0), uintptr_t(2), uintptr_t(31)}) {
        ScriptedPlatform platform;
        platform.modern = false;
        platform.hostResult = result;
        platform.answers = {kAnswerYes};
        EXPECT_EQ(decide(platform), concat(kProbes, {L"generation", L"open " + kHost, L"yes/no box: " + kOffer,
                                                     L"open " + kRuntime, L"pumping wait 1000", L"exit"}))
            << "result " << result;
    }
}

TEST(LauncherDecision, FailureBeforeVistaOfferAnsweredNoStartsNothing) {
    ScriptedPlatform platform;
    platform.modern = false;
    platform.hostResult = 2;
    platform.answers = {kAnswerNo};
    EXPECT_EQ(decide(platform), concat(kProbes, {L"generation", L"open " + kHost, L"yes/no box: " + kOffer,
                                                 L"pumping wait 1000", L"exit"}));
}

TEST(LauncherDecision, RunsOnlyOnTheFirstTick) {
    ScriptedPlatform platform;
    LaunchDecision decision;
    decision.onTimer(platform, kFolder, {});
    size_t afterFirst = platform.log.size();
    decision.onTimer(platform, kFolder, {});
    decision.onTimer(platform, kFolder, {});
    EXPECT_EQ(platform.log.size(), afterFirst);
    EXPECT_EQ(platform.log.front(), L"kill timer");
}

TEST(LauncherDecision, RelaunchCarriesTheSwitchThatWasGiven) {
    struct Row {
        bool installer;
        int restartMode;
        const wchar_t* expected;
    } rows[] = {
        {false, kNoRestart, L"(none)"},     {true, kNoRestart, L" /installer"}, {false, kRestart, L" /restart"},
        {false, kRestore, L" /restart"},    {true, kRestart, L" /restart"},     {true, kRestore, L" /restart"},
    };
    for (const Row& row : rows) {
        ScriptedPlatform platform;
        platform.matches = 1;
        LaunchSwitches switches;
        switches.installer = row.installer;
        switches.restartMode = row.restartMode;
        Log log = decide(platform, switches);
        ASSERT_GE(log.size(), 4u);
        EXPECT_EQ(log[3], std::wstring(L"relaunch [") + row.expected + L"]")
            << "installer " << row.installer << ", mode " << row.restartMode;
    }
}

TEST(LauncherDecision, PathsAreFormedFromTheInstallFolder) {
    // An empty folder (a launcher path too long to read) names no file: nothing is started from the
    // drive's root, and the start counts as file not found, so a result of 0 never shows here.
    struct Row { const wchar_t* folder; bool modern; Log expected; } rows[] = {
        {L"D:", false, {L"generation", L"open D:\\velvoxapp.exe", L"yes/no box: " + kOffer, L"open D:\\vcredist_x86.exe",
                        L"pumping wait 1000", L"exit"}},
        {L"", false, {L"generation", L"yes/no box: " + kOffer, L"pumping wait 1000", L"exit"}},
        {L"", true, {L"generation", L"sleep 1000", L"exit"}},
    };
    for (const Row& row : rows) {
        ScriptedPlatform platform;
        platform.modern = row.modern;
        platform.hostResult = 0;
        platform.answers = {kAnswerYes};
        LaunchDecision decision;
        decision.onTimer(platform, row.folder, {});
        EXPECT_EQ(platform.log, concat(kProbes, row.expected)) << "folder \"" << row.folder << "\", modern " << row.modern;
    }
}
