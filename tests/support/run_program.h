// Runs a program to its end and collects its standard output, standard error
// and exit status: for the end-to-end tests of kib.
#pragma once

#include "support/test_files.h"

#include <string>
#include <vector>

namespace kib::test {

struct ProgramResult {
    int status = -1; // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

ProgramResult RunProgram(const std::vector<std::string>& args, const std::string& input = "");
// The same, started in the working folder cwd.
ProgramResult RunProgramIn(const std::string& cwd, const std::vector<std::string>& args);

// The kib binary under test (KIB_BIN from the test environment, else the build tree's).
std::string KibBinary();

} // namespace kib::test
