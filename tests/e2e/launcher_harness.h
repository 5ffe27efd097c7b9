#pragma once
// Shared pieces of the launcher's end-to-end tests: an install folder with the real launcher and
// the stand-in host, a child process the test can watch, the host's start records, message boxes
// and "Nestor" windows.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "process_run.h"
#include "temp_dir.h"
#include "thread_window.h"
#include "window_find.h"

// Milliseconds of system time (comparable across processes).
double nowMs();

// One start of the stand-in host, as it recorded it.
struct HostStart {
    double timeMs;
    std::wstring currentDir;
    std::wstring commandLine;
    std::string windowsVersion;  // major.minor as the host saw it
};
std::vector<HostStart> readHostStarts(const std::wstring& recordPath);

// A temporary install folder holding launcher.exe and, unless told otherwise, velvoxapp.exe.
class LauncherInstall {
public:
    explicit LauncherInstall(const std::wstring& tag, bool withHost = true);
    const std::wstring& folder() const { return dir_.path(); }
    std::wstring launcher() const { return dir_.file(L"launcher.exe"); }
    std::wstring hostRecord() const { return dir_.file(L"velvoxapp-starts.bin"); }
    std::vector<HostStart> hostStarts() const { return readHostStarts(hostRecord()); }

private:
    TempDir dir_;
};

// A program started without standard handles, with the moments the test saw it start and end.
class ChildProcess : public StartedProcess {
public:
    ChildProcess(const std::wstring& program, const std::wstring& arguments, const std::wstring& currentDir);
    ~ChildProcess() { kill(5000); }  // ends the process if it still runs

    double startMs() const { return startMs_; }
    bool hasExited() const { return StartedProcess::waitForExit(0); }
    // Waits up to timeoutMs; true when the process ended. exitMs() is when this noticed.
    bool waitForExit(DWORD timeoutMs);
    double exitMs() const { return exitMs_; }
    double lifetimeMs() const { return exitMs_ - startMs_; }

    // Watches the running launcher until it ends or timeoutMs passes, every 20 ms: keeps each
    // message box it shows in boxes() (and answers it, so a stray box cannot hang the test) and
    // calls onPoll. Returns true when the process ended.
    bool watchUntilExit(DWORD timeoutMs, const std::function<void()>& onPoll = {});
    const std::vector<SeenBox>& boxes() const { return boxes_; }

private:
    double startMs_ = 0;
    double exitMs_ = 0;
    std::vector<SeenBox> boxes_;
};

// A top-level window titled "Nestor", owned by the test, open until the object goes.
struct NestorWindow : ThreadWindow {
    NestorWindow() : ThreadWindow(L"VelvoxTestNestor", L"Nestor", DefWindowProcW) {}
};

// Waits until a top-level "Nestor" window exists (true) or timeoutMs passes.
bool waitForNestor(DWORD timeoutMs);

// The first tick comes a second after start-up, and the launcher sleeps a second after the start.
constexpr double kTickAndPauseMs = 2000;
constexpr double kSlackMs = 60;  // timer and clock granularity
constexpr double kWineStartUpMs = 6000;
