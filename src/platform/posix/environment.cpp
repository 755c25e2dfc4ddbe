#include "platform/environment.h"

#include <cstdlib>
#include <unistd.h>

namespace kib::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value) {
        return std::nullopt;
    }
    return std::string(value);
}

void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
}

std::tm LocalTime(std::time_t moment) {
    std::tm local{};
    ::localtime_r(&moment, &local);
    return local;
}

OperatingSystem ThisSystem() {
    return OperatingSystem::Linux;
}

bool IsTerminal(StandardStream stream) {
    switch (stream) {
    case StandardStream::Input:
        return ::isatty(STDIN_FILENO) != 0;
    case StandardStream::Output:
        return ::isatty(STDOUT_FILENO) != 0;
    case StandardStream::Error:
        return ::isatty(STDERR_FILENO) != 0;
    }
    return false;
}

void PrepareConsole() {}

} // namespace kib::platform
