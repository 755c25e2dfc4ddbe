#include "platform/process.h"

#include "platform/slice_wait.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

extern char** environ;

namespace kib::platform {

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;

// While the program is quiet its end is looked for this often.
constexpr Millis kPollStep{20};
// Time a program gets to end after TERM before it is killed.
constexpr Millis kTermGrace{2000};
// After the program has ended, a program it started may still hold the pipe: the
// rest of the output is read until the pipe has been quiet this long, or the limit.
constexpr int kDrainQuietMs = 1000;
constexpr Millis kDrainLimit{5000};
constexpr std::size_t kChunkSize = 4096;

// The started program and the read end of its output pipe. The program gets its
// own process group (its leader's id is the program's), so that TERM and KILL
// reach whatever it started too. The program is only peeked at while it runs and
// reaped at the very end, so its id cannot be reused while it is signalled.
class Child {
  public:
    Child(pid_t pid, int readFd) : pid_(pid), fd_(readFd) {
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
    }
    ~Child() { ::close(fd_); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Reads the output until the program ends or the deadline passes.
    SliceWait WaitUntil(Clock::time_point deadline) {
        for (;;) {
            if (HasEnded()) {
                return SliceWait::Ended;
            }
            if (waitError_ != 0) {
                return SliceWait::Failed;
            }
            const auto now = Clock::now();
            if (now >= deadline) {
                return SliceWait::SliceOver;
            }
            PollOutput(std::min(kPollStep, std::chrono::ceil<Millis>(deadline - now)));
        }
    }

    // TERM to the program's group, KILL after the grace time (to the group too,
    // so that nothing it started keeps running).
    void Terminate() {
        ::kill(-pid_, SIGTERM);
        WaitUntil(Clock::now() + kTermGrace);
        ::kill(-pid_, SIGKILL);
    }

    // Collects the ended (or killed) program's status.
    void Reap(ProcessResult& result) {
        int status = 0;
        pid_t r;
        do {
            r = ::waitpid(pid_, &status, 0);
        } while (r < 0 && errno == EINTR);
        if (r != pid_) {
            return;
        }
        if (WIFEXITED(status)) {
            result.exitCode = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            result.exitSignal = WTERMSIG(status);
        }
    }

    // Reads the output to its end.
    void DrainRest() {
        const auto limit = Clock::now() + kDrainLimit;
        while (!eof_ && Clock::now() < limit) {
            pollfd p{fd_, POLLIN, 0};
            const int r = ::poll(&p, 1, kDrainQuietMs);
            if (r < 0 && errno == EINTR) {
                continue;
            }
            if (r <= 0) {
                break;
            }
            ReadAvailable();
        }
    }

    int WaitError() const { return waitError_; }
    std::string TakeOutput() { return std::move(output_); }

  private:
    // True once the program has ended, without reaping it.
    bool HasEnded() {
        siginfo_t info{};
        for (;;) {
            if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0) {
                return info.si_pid == pid_;
            }
            if (errno != EINTR) {
                waitError_ = errno;
                return false;
            }
        }
    }

    void PollOutput(Millis wait) {
        if (eof_) {
            std::this_thread::sleep_for(wait);
            return;
        }
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(wait.count())) > 0) {
            ReadAvailable();
        }
    }

    void ReadAvailable() {
        char chunk[kChunkSize];
        for (;;) {
            const ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n > 0) {
                output_.append(chunk, static_cast<std::size_t>(n));
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                // 0: every writer has closed the pipe; EAGAIN: nothing more for now.
                eof_ = n == 0 || errno != EAGAIN;
                return;
            }
        }
    }

    pid_t pid_;
    int fd_;
    bool eof_ = false;
    int waitError_ = 0;
    std::string output_;
};

// The signals whose handling the program gets back to the default.
constexpr int kDefaultSignals[] = {SIGPIPE, SIGINT, SIGTERM, SIGQUIT, SIGHUP, SIGCHLD};

// In the new process, before the program replaces it: only calls that are safe
// after a fork (the desktop application has threads). Never returns.
[[noreturn]] void StartInChild(const char* path, char* const* argv, int writeFd, int errorFd,
                               pid_t parent) {
    ::setpgid(0, 0);
    // The kernel ends the program when Kib ends, even when Kib is killed and can
    // do nothing about it; a Kib that ended before this line is caught below.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) {
        ::_exit(127);
    }
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    for (int sig : kDefaultSignals) {
        ::sigaction(sig, &defaults, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    const int in = ::open("/dev/null", O_RDONLY);
    if (in >= 0 && in != STDIN_FILENO) {
        ::dup2(in, STDIN_FILENO);
        ::close(in);
    }
    ::dup2(writeFd, STDOUT_FILENO);
    ::dup2(writeFd, STDERR_FILENO);
    ::execve(path, argv, environ);
    const int error = errno;
    [[maybe_unused]] const ssize_t n = ::write(errorFd, &error, sizeof error);
    ::_exit(127);
}

// Starts the program in its own process group with standard input from
// /dev/null and standard output and error on writeFd; it dies with this
// process. Returns 0 or an errno value (also when the program cannot be run).
int Spawn(const std::string& path, const std::vector<std::string>& words, int writeFd, pid_t& pid) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const auto& w : words) {
        argv.push_back(const_cast<char*>(w.c_str()));
    }
    argv.push_back(nullptr);

    // The new process reports here why the program could not replace it; a
    // successful start closes the pipe.
    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        return errno;
    }
    const pid_t parent = ::getpid();
    pid = ::fork();
    if (pid < 0) {
        const int error = errno;
        ::close(errorPipe[0]);
        ::close(errorPipe[1]);
        return error;
    }
    if (pid == 0) {
        StartInChild(path.c_str(), argv.data(), writeFd, errorPipe[1], parent);
    }
    ::setpgid(pid, pid); // also here, so the group exists before any signal to it
    ::close(errorPipe[1]);
    int error = 0;
    ssize_t n;
    do {
        n = ::read(errorPipe[0], &error, sizeof error);
    } while (n < 0 && errno == EINTR);
    ::close(errorPipe[0]);
    if (n == static_cast<ssize_t>(sizeof error)) {
        ::waitpid(pid, nullptr, 0);
        return error;
    }
    return 0;
}

} // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         int timeoutSeconds, const StopPoll& stop) {
    ProcessResult result;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        result.end = ProcessEnd::PipeFailed;
        result.error = errno;
        return result;
    }
    pid_t pid = -1;
    const int spawnError = Spawn(program, arguments, fds[1], pid);
    // Only the program writes into the pipe: its end of output is the end of the pipe.
    ::close(fds[1]);
    if (spawnError != 0) {
        ::close(fds[0]);
        result.end = ProcessEnd::StartFailed;
        result.error = spawnError;
        return result;
    }

    Child child(pid, fds[0]);
    result.end = WaitInSlices(child, timeoutSeconds, stop, result);
    if (result.end == ProcessEnd::WaitFailed) {
        return result;
    }
    if (result.end != ProcessEnd::Exited) {
        child.Terminate();
    }
    child.Reap(result);
    child.DrainRest();
    result.output = child.TakeOutput();
    return result;
}

int ProcessId() {
    return static_cast<int>(::getpid());
}

bool ProcessRuns(int pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

} // namespace kib::platform
