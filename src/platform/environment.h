// The process's surroundings: its arguments, environment variables and
// standard streams, all as UTF-8.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace kib::platform {

// The program's arguments (the program name first) as UTF-8: argv on Linux; on
// Windows the wide command line, so that any file name arrives whole.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The value of an environment variable; none when it is not set.
std::optional<std::string> EnvironmentValue(const std::string& name);
// Sets (or with no value removes) an environment variable of this process.
void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value);

// The local time of a moment.
std::tm LocalTime(std::time_t moment);

enum class OperatingSystem { Linux, Windows };
// The system Kib was built for.
OperatingSystem ThisSystem();

enum class StandardStream { Input, Output, Error };
// Whether the stream is a terminal (a console on Windows).
bool IsTerminal(StandardStream stream);
// Makes a console show the UTF-8 text Kib writes (Windows); nothing on Linux.
void PrepareConsole();

} // namespace kib::platform
