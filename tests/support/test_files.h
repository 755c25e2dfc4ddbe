// Files of the tests on every system Kib runs on: a fresh folder per test and
// whole files read and written as raw bytes.
#pragma once

#include <string>

namespace kib::test {

// A fresh, empty directory for one test; removed by the caller.
std::string MakeTempDir(const std::string& tag);

// A path as the system writes it, its separators made the system's own (Kib
// reports paths that way): "Z:/ev/x.svg" becomes "Z:\\ev\\x.svg" on Windows.
std::string NativePath(std::string path);
// A file or folder below tests/data ("map_input/Sprint.S1.svg"), as NativePath.
std::string TestData(const std::string& relative);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

} // namespace kib::test
