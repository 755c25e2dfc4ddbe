// The kib program's whole run, for its thin main.
#pragma once

namespace kib::cli {

// Parses the command line, runs the chosen verb with the program's host installed
// and answers the exit status.
int RunKib(int argc, char** argv);

} // namespace kib::cli
