#include "platform/process.h"

#include "platform/slice_wait.h"

#include "platform/win32/win32_text.h"

#define WIN32_LEAN_AND_MEAN 1
#define NOMINMAX 1
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace kib::platform {

using win32::LastErrno;
using win32::Widen;

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;

// While the program is quiet its end is looked for this often.
constexpr Millis kPollStep{20};
// Time the ended program tree gets to go away.
constexpr DWORD kEndWaitMs = 5000;
// After the program has ended, a program it started may still hold the pipe: the
// rest of the output is read until the pipe has been quiet this long, or the limit.
constexpr Millis kDrainQuiet{1000};
constexpr Millis kDrainLimit{5000};
constexpr DWORD kChunkSize = 4096;

// Closes a handle when it goes out of scope.
class OwnedHandle {
  public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE h) : h_(h) {}
    ~OwnedHandle() { Reset(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    void Reset(HANDLE h = nullptr) {
        if (h_ && h_ != INVALID_HANDLE_VALUE) {
            CloseHandle(h_);
        }
        h_ = h;
    }
    HANDLE Get() const { return h_; }
    HANDLE* Put() {
        Reset();
        return &h_;
    }
    HANDLE Release() {
        const HANDLE h = h_;
        h_ = nullptr;
        return h;
    }

  private:
    HANDLE h_ = nullptr;
};

// One word of a command line as the C runtime's parser reads it back: quoted
// when it holds a blank or a quote or is empty, backslashes doubled before a
// quote.
void AppendQuoted(std::wstring& line, const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += word;
        return;
    }
    line += L'"';
    for (auto it = word.begin();; ++it) {
        std::size_t backslashes = 0;
        while (it != word.end() && *it == L'\\') {
            ++it;
            ++backslashes;
        }
        if (it == word.end()) {
            line.append(backslashes * 2, L'\\');
            break;
        }
        if (*it == L'"') {
            line.append(backslashes * 2 + 1, L'\\');
        } else {
            line.append(backslashes, L'\\');
        }
        line += *it;
    }
    line += L'"';
}

// The program's own path first, as every program expects, then its words.
std::wstring CommandLine(const std::wstring& program, const std::vector<std::string>& words) {
    std::wstring line = L"\"" + program + L"\"";
    for (const auto& w : words) {
        line += L' ';
        AppendQuoted(line, Widen(w));
    }
    return line;
}

// The started program in a job object that ends the whole tree it starts, and
// the read end of its output pipe.
class Child {
  public:
    Child(HANDLE process, HANDLE job, HANDLE readEnd)
        : process_(process), job_(job), pipe_(readEnd) {}

    SliceWait WaitUntil(Clock::time_point deadline) {
        for (;;) {
            const auto now = Clock::now();
            const Millis step =
                std::max(Millis(0), std::min(kPollStep, std::chrono::ceil<Millis>(deadline - now)));
            const DWORD r = WaitForSingleObject(process_.Get(), static_cast<DWORD>(step.count()));
            ReadAvailable();
            if (r == WAIT_OBJECT_0) {
                return SliceWait::Ended;
            }
            if (r == WAIT_FAILED || r == WAIT_ABANDONED) {
                waitError_ = LastErrno();
                return SliceWait::Failed;
            }
            if (Clock::now() >= deadline) {
                return SliceWait::SliceOver;
            }
        }
    }

    // Ends the program and everything it started.
    void Terminate() {
        if (!job_.Get() || !TerminateJobObject(job_.Get(), 1)) {
            TerminateProcess(process_.Get(), 1);
        }
        WaitForSingleObject(process_.Get(), kEndWaitMs);
    }

    void CollectExitCode(ProcessResult& result) {
        DWORD code = 0;
        if (GetExitCodeProcess(process_.Get(), &code) && code != STILL_ACTIVE) {
            result.exitCode = static_cast<int>(code);
        }
    }

    // Reads the output to its end.
    void DrainRest() {
        const auto limit = Clock::now() + kDrainLimit;
        auto quietSince = Clock::now();
        while (!eof_ && Clock::now() < limit && Clock::now() - quietSince < kDrainQuiet) {
            if (ReadAvailable()) {
                quietSince = Clock::now();
            } else if (!eof_) {
                std::this_thread::sleep_for(kPollStep);
            }
        }
    }

    int WaitError() const { return waitError_; }
    std::string TakeOutput() { return std::move(output_); }

  private:
    // Reads what the pipe holds; true when something was read.
    bool ReadAvailable() {
        bool any = false;
        while (!eof_) {
            DWORD available = 0;
            if (!PeekNamedPipe(pipe_.Get(), nullptr, 0, nullptr, &available, nullptr)) {
                eof_ = true; // every writer has closed the pipe
                break;
            }
            if (available == 0) {
                break;
            }
            char chunk[kChunkSize];
            DWORD got = 0;
            if (!ReadFile(pipe_.Get(), chunk, std::min(available, kChunkSize), &got, nullptr) ||
                got == 0) {
                eof_ = true;
                break;
            }
            output_.append(chunk, got);
            any = true;
        }
        return any;
    }

    OwnedHandle process_;
    OwnedHandle job_; // closing it ends whatever still runs in it
    OwnedHandle pipe_;
    bool eof_ = false;
    int waitError_ = 0;
    std::string output_;
};

// A job that ends every process in it when its last handle closes: when Kib
// closes it, and when Kib ends in any way.
HANDLE MakeJob() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job) {
        return nullptr;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

// Starts the program suspended, puts it into the job and lets it run. It inherits
// only the null input and the pipe's write end, and gets no window of its own.
bool Start(const std::string& program, const std::vector<std::string>& words, HANDLE input,
           HANDLE output, HANDLE job, PROCESS_INFORMATION& started, int& error) {
    HANDLE inherited[2] = {input, output};
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> storage(size);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    const bool listed = InitializeProcThreadAttributeList(attributes, 1, 0, &size) &&
                        UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                  inherited, sizeof inherited, nullptr, nullptr);

    STARTUPINFOEXW info{};
    info.StartupInfo.cb = listed ? sizeof info : sizeof info.StartupInfo;
    info.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    info.StartupInfo.wShowWindow = SW_HIDE;
    info.StartupInfo.hStdInput = input;
    info.StartupInfo.hStdOutput = output;
    info.StartupInfo.hStdError = output;
    info.lpAttributeList = listed ? attributes : nullptr;

    const std::wstring path = Widen(program);
    std::wstring line = CommandLine(path, words);
    const DWORD flags =
        CREATE_NO_WINDOW | CREATE_SUSPENDED | (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
    const BOOL ok = CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, TRUE, flags,
                                   nullptr, nullptr, &info.StartupInfo, &started);
    error = ok ? 0 : LastErrno();
    if (listed) {
        DeleteProcThreadAttributeList(attributes);
    }
    if (!ok) {
        return false;
    }
    // Without the job (a system that refuses nested jobs), the program is still
    // ended itself on time-out or stop.
    if (job) {
        AssignProcessToJobObject(job, started.hProcess);
    }
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    return true;
}

} // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         int timeoutSeconds, const StopPoll& stop) {
    ProcessResult result;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    OwnedHandle readEnd;
    OwnedHandle writeEnd;
    if (!CreatePipe(readEnd.Put(), writeEnd.Put(), &inheritable, 0)) {
        result.end = ProcessEnd::PipeFailed;
        result.error = LastErrno();
        return result;
    }
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    OwnedHandle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inheritable, OPEN_EXISTING, 0, nullptr));
    if (input.Get() == INVALID_HANDLE_VALUE) {
        result.end = ProcessEnd::PipeFailed;
        result.error = LastErrno();
        return result;
    }
    HANDLE job = MakeJob();
    PROCESS_INFORMATION started{};
    if (!Start(program, arguments, input.Get(), writeEnd.Get(), job, started, result.error)) {
        if (job) {
            CloseHandle(job);
        }
        result.end = ProcessEnd::StartFailed;
        return result;
    }
    // Only the program writes into the pipe: its end of output is the end of the pipe.
    writeEnd.Reset();
    input.Reset();

    Child child(started.hProcess, job, readEnd.Release());
    result.end = WaitInSlices(child, timeoutSeconds, stop, result);
    if (result.end == ProcessEnd::WaitFailed) {
        return result;
    }
    if (result.end != ProcessEnd::Exited) {
        child.Terminate();
    }
    child.CollectExitCode(result);
    child.DrainRest();
    result.output = child.TakeOutput();
    return result;
}

int ProcessId() {
    return static_cast<int>(GetCurrentProcessId());
}

void ReturnFreedMemory() {
    // The Windows heap gives freed pages back on its own.
}

bool ProcessRuns(int pid) {
    if (pid <= 0) {
        return false;
    }
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) {
        // A process this user may not look at still runs.
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    DWORD code = 0;
    const bool runs = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return runs;
}

} // namespace kib::platform
