#include "process_run.h"

#include "paths.h"

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

std::wstring quoteArgs(const std::vector<std::wstring>& args) {
    std::wstring joined;
    for (const std::wstring& arg : args) joined += (joined.empty() ? L"" : L" ") + quoteArg(arg);
    return joined;
}

bool StartedProcess::fail(const char* call) {
    error_ = std::string(call) + " failed: error " + std::to_string(GetLastError());
    if (process_) TerminateProcess(process_.get(), 1);  // still suspended: it never ran
    return false;
}

bool StartedProcess::start(const StartOptions& options) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    UniqueHandle outputWrite, errorWrite;  // ours close on return: a read ends once the program's copies go
    if (options.output == ChildOutput::File) {
        outputWrite.reset(CreateFileW(options.outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!outputWrite) return fail("CreateFileW");
    }
    const bool twoPipes = options.output == ChildOutput::TwoPipes;
    const bool pipe = twoPipes || options.output == ChildOutput::Pipe;
    if ((pipe && !CreatePipe(readEnds_[0].put(), outputWrite.put(), &inheritable, 0)) ||
        (twoPipes && !CreatePipe(readEnds_[1].put(), errorWrite.put(), &inheritable, 0))) {
        return fail("CreatePipe");
    }
    for (UniqueHandle& readEnd : readEnds_) {
        if (readEnd) SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const bool handles = options.output != ChildOutput::None;
    if (handles) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = options.input;
        startup.hStdOutput = outputWrite.get();
        startup.hStdError = twoPipes ? errorWrite.get() : outputWrite.get();
    }
    std::wstring commandLine = quoteArg(options.program) + (options.arguments.empty() ? L"" : L" " + options.arguments);
    PROCESS_INFORMATION started{};
    // Under load Wine now and then loses a new process in its own start-up, before any of the
    // program runs (about one start in a thousand), and reports ERROR_INTERNAL_ERROR: start it again.
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(options.program.c_str(), &commandLine[0], nullptr, nullptr, handles,
                           options.ownJob ? CREATE_SUSPENDED : 0, nullptr,
                           options.currentDir.empty() ? nullptr : options.currentDir.c_str(), &startup, &started)) {
            break;
        }
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 3) return fail("CreateProcessW");
    }
    process_.reset(started.hProcess);
    UniqueHandle thread(started.hThread);
    processId_ = started.dwProcessId;
    threadId_ = started.dwThreadId;
    if (options.ownJob) {
        job_.reset(CreateJobObjectW(nullptr, nullptr));
        if (!job_) return fail("CreateJobObjectW");
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        // What the program starts for the user may break away.
        limits.BasicLimitInformation.LimitFlags =
            JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | (options.jobAllowsBreakaway ? JOB_OBJECT_LIMIT_BREAKAWAY_OK : 0);
        if (!SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
            return fail("SetInformationJobObject");
        }
        if (!AssignProcessToJobObject(job_.get(), process_.get())) return fail("AssignProcessToJobObject");
        if (ResumeThread(thread.get()) == DWORD(-1)) return fail("ResumeThread");
    }
    started_ = true;
    return true;
}

bool StartedProcess::waitForExit(DWORD timeoutMs) const {
    return process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD StartedProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

bool StartedProcess::kill(DWORD waitMs) {
    if (!process_ || !TerminateProcess(process_.get(), 1)) return false;
    return WaitForSingleObject(process_.get(), waitMs) == WAIT_OBJECT_0;
}

void StartedProcess::readOutput(OnRead onOutput, OnRead onError) {
    OnRead onRead[2] = {std::move(onOutput), std::move(onError)};
    for (int i = 0; i < 2; ++i) {
        if (!readEnds_[i] || !onRead[i]) continue;
        readers_[i] = std::thread(&StartedProcess::drain, this, readEnds_[i].get(), std::move(onRead[i]));
    }
}

// Peeks before each read, so that it can stop while a grandchild still holds the pipe.
void StartedProcess::drain(HANDLE readEnd, OnRead onRead) {
    std::vector<char> buffer(65536);
    for (;;) {
        DWORD available = 0, got = 0;
        if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) return;  // all writers gone
        if (GetTickCount64() >= stopReadingAt_) return;
        if (available == 0) {
            // Short: the program's writes wait on this pipe, and a long nap here slows a large run
            // several times over.
            Sleep(1);
            continue;
        }
        const DWORD want = available < buffer.size() ? available : DWORD(buffer.size());
        if (!ReadFile(readEnd, buffer.data(), want, &got, nullptr) || got == 0) return;
        onRead(buffer.data(), got);
    }
}

bool StartedProcess::outputWaiting() const {
    DWORD available = 0;
    return PeekNamedPipe(readEnds_[0].get(), nullptr, 0, nullptr, &available, nullptr) && available > 0;
}

void StartedProcess::end(DWORD graceMs) {
    if (job_) {
        TerminateJobObject(job_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
    stopReadingAt_ = GetTickCount64() + graceMs;
    for (std::thread& reader : readers_) {
        if (reader.joinable()) reader.join();
    }
}

RunResult runProgram(const std::wstring& program, const std::wstring& arguments, const RunOptions& options) {
    RunResult result;
    StartedProcess process;
    result.started = process.start({program, arguments, options.currentDir,
                                    options.separateErrorOutput ? ChildOutput::TwoPipes : ChildOutput::Pipe});
    result.startError = process.error();
    if (!result.started) return result;
    process.readOutput([&](const char* bytes, DWORD count) { result.output.append(bytes, count); },
                       [&](const char* bytes, DWORD count) { result.errorOutput.append(bytes, count); });
    if (!process.waitForExit(options.timeoutMs)) {
        result.timedOut = true;
        process.kill(5000);
    }
    result.exitCode = process.exitCode();
    process.end(5000);
    return result;
}

bool LiveProgram::start(const std::wstring& program, const std::wstring& arguments) {
    StartOptions options{program, arguments, {}, ChildOutput::Pipe};
    options.ownJob = true;
    if (!process_.start(options)) {
        output_ = process_.error();
        return false;
    }
    process_.readOutput([this](const char* bytes, DWORD count) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            output_.append(bytes, count);
        }
        changed_.notify_all();
    });
    return true;
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

bool startUnixProgram(const std::string& program, const std::vector<std::wstring>& arguments, std::string* error) {
    const std::wstring path = hostPath(program);
    StartedProcess process;
    const bool started = !path.empty() && process.start({path, quoteArgs(arguments)});
    if (error != nullptr) *error = path.empty() ? "no Windows path for " + program : process.error();
    return started;
}
