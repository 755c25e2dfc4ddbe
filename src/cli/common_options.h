// The options that several verbs share: the configuration file every verb reads
// and the --stations list of the verbs that work station by station.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace kib::cli {

// FILE.cfg, required.
void AddFileOption(CLI::App& command, std::string& file);
// --stations LIST; purpose says what is done with them ("make", "analyse", ...).
void AddStationsOption(CLI::App& command, std::string& stations, const char* purpose);

} // namespace kib::cli
