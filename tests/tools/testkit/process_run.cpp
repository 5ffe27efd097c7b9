#include "process_run.h"

#include <initializer_list>

#include "paths.h"
#include "unique_handle.h"

std::wstring quoteArg(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        // Backslashes count only before a quote.
        out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, L'\\');
    return out + L"\"";
}

namespace {

DWORD WINAPI drainPipe(void* param) {
    auto* ctx = static_cast<std::pair<HANDLE, std::string*>*>(param);
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(ctx->first, buffer, sizeof buffer, &got, nullptr) && got > 0) ctx->second->append(buffer, got);
    return 0;
}

}  // namespace

RunResult runProgram(const std::wstring& program, const std::wstring& arguments, const RunOptions& options) {
    RunResult result;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    UniqueHandle readEnd, writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &sa, 0)) return result;
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    UniqueHandle errorReadEnd, errorWriteEnd;
    if (options.separateErrorOutput) {
        if (!CreatePipe(errorReadEnd.put(), errorWriteEnd.put(), &sa, 0)) return result;
        SetHandleInformation(errorReadEnd.get(), HANDLE_FLAG_INHERIT, 0);
    }

    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd.get();
    si.hStdError = options.separateErrorOutput ? errorWriteEnd.get() : writeEnd.get();
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring commandLine = quoteArg(program) + (arguments.empty() ? L"" : L" " + arguments);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                        options.currentDir.empty() ? nullptr : options.currentDir.c_str(), &si, &pi)) {
        return result;
    }
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    writeEnd.reset();  // so the read ends when the program and its children close theirs
    errorWriteEnd.reset();
    result.started = true;
    result.processId = pi.dwProcessId;

    std::pair<HANDLE, std::string*> ctx{readEnd.get(), &result.output};
    UniqueHandle drainer(CreateThread(nullptr, 0, drainPipe, &ctx, 0, nullptr));
    std::pair<HANDLE, std::string*> errorCtx{errorReadEnd.get(), &result.errorOutput};
    UniqueHandle errorDrainer(options.separateErrorOutput ? CreateThread(nullptr, 0, drainPipe, &errorCtx, 0, nullptr)
                                                          : nullptr);
    if (WaitForSingleObject(process.get(), options.timeoutMs) == WAIT_TIMEOUT) {
        result.timedOut = true;
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
    }
    GetExitCodeProcess(process.get(), &result.exitCode);
    // A grandchild may still hold the pipe; give the drain a moment, then cut it off.
    for (HANDLE drain : {drainer.get(), errorDrainer.get()}) {
        if (!drain) continue;
        if (WaitForSingleObject(drain, 5000) == WAIT_TIMEOUT) {
            CancelSynchronousIo(drain);
            WaitForSingleObject(drain, 1000);
        }
    }
    return result;
}

LiveProgram::~LiveProgram() {
    if (job_) TerminateJobObject(job_.get(), 1);
    if (process_) WaitForSingleObject(process_.get(), 5000);
    job_.reset();
    if (reader_ && WaitForSingleObject(reader_.get(), 5000) == WAIT_TIMEOUT) {
        // Something outside the job still holds the pipe.
        CancelSynchronousIo(reader_.get());
        WaitForSingleObject(reader_.get(), 1000);
    }
}

bool LiveProgram::start(const std::wstring& program, const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    UniqueHandle writeEnd;
    if (!CreatePipe(readEnd_.put(), writeEnd.put(), &inheritable, 0)) return false;
    SetHandleInformation(readEnd_.get(), HANDLE_FLAG_INHERIT, 0);

    job_.reset(CreateJobObjectW(nullptr, nullptr));
    if (!job_) return false;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd.get();
    si.hStdError = writeEnd.get();
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring commandLine = quoteArg(program) + (arguments.empty() ? L"" : L" " + arguments);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                        &si, &pi)) {
        return false;
    }
    process_.reset(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    processId_ = pi.dwProcessId;
    // In the job before it runs, so that nothing it starts escapes.
    const bool inJob = AssignProcessToJobObject(job_.get(), process_.get()) != 0;
    ResumeThread(thread.get());
    if (!inJob) return false;
    writeEnd.reset();
    reader_.reset(CreateThread(nullptr, 0, readOutput, this, 0, nullptr));
    return static_cast<bool>(reader_);
}

DWORD WINAPI LiveProgram::readOutput(void* self) {
    auto* program = static_cast<LiveProgram*>(self);
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(program->readEnd_.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        {
            std::lock_guard<std::mutex> lock(program->mutex_);
            program->output_.append(buffer, got);
        }
        program->changed_.notify_all();
    }
    return 0;
}

bool LiveProgram::waitForOutput(const std::string& text, DWORD timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return output_.find(text) != std::string::npos; });
}

std::string LiveProgram::output() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return output_;
}

bool LiveProgram::kill() {
    if (!process_ || !TerminateProcess(process_.get(), 1)) return false;
    return WaitForSingleObject(process_.get(), 10000) == WAIT_OBJECT_0;
}

bool startUnixProgram(const std::string& program, const std::vector<std::wstring>& arguments) {
    const std::wstring path = hostPath(program);
    if (path.empty()) return false;
    std::wstring commandLine = quoteArg(path);
    for (const std::wstring& argument : arguments) commandLine += L" " + quoteArg(argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        return false;
    }
    UniqueHandle process(started.hProcess), thread(started.hThread);
    return true;
}
