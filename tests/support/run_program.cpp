#include "support/run_program.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kib::test {

namespace {

// Reads both pipes until they close, so that neither side blocks on a full pipe.
void Drain(int outFd, int errFd, std::string& out, std::string& err) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    int open = 2;
    char buffer[65536];
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) {
                continue;
            }
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? out : err).append(buffer, static_cast<size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

} // namespace

namespace {

ProgramResult Run(const std::vector<std::string>& args, const std::string& input,
                  const std::string& cwd) {
    ProgramResult result;
    int outPipe[2], errPipe[2], inPipe[2];
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0 || ::pipe(inPipe) != 0) {
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) {
        posix_spawn_file_actions_addclose(&actions, fd);
    }
    if (!cwd.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    }
    std::vector<char*> argv;
    for (const auto& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(inPipe[0]);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (rc == 0 && !input.empty()) {
        [[maybe_unused]] ssize_t w = ::write(inPipe[1], input.data(), input.size());
    }
    ::close(inPipe[1]);
    Drain(outPipe[0], errPipe[0], result.out, result.err);
    if (rc != 0) {
        return result;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace

ProgramResult RunProgram(const std::vector<std::string>& args, const std::string& input) {
    return Run(args, input, "");
}

ProgramResult RunProgramIn(const std::string& cwd, const std::vector<std::string>& args) {
    return Run(args, "", cwd);
}

std::string KibBinary() {
    const char* env = std::getenv("KIB_BIN");
    return env && *env ? env : std::string(KIB_BINARY_DIR) + "/kib";
}

} // namespace kib::test
