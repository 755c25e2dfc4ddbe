// What the parsed command line hands to the verb that runs.
#pragma once

#include "cli/cli_host.h"

#include <functional>

namespace CLI {
class App;
}

namespace kib {
class LogScope;
}

namespace kib::cli {

// Exit statuses of the kib program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitWarning = 1;
inline constexpr int kExitError = 2;
inline constexpr int kExitUsage = 64;

struct Context {
    CliOptions options;
    // Set by the chosen verb's parse callback; runs with the host installed.
    std::function<int(CliHost&)> run;
};

// Each verb family registers its subcommands.
void AddConfigCommands(CLI::App& app, Context& ctx);
void AddMakeCommands(CLI::App& app, Context& ctx);
void AddImageCommands(CLI::App& app, Context& ctx);
void AddNewCommand(CLI::App& app, Context& ctx);
void AddAnalyseCommand(CLI::App& app, Context& ctx);
void AddProofCommand(CLI::App& app, Context& ctx);

// 2 when the tally holds an error line, 1 when it holds a warning line, else 0.
int StatusFrom(const LogScope& tally);

} // namespace kib::cli
