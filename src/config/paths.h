// Absolute and relative paths against a configuration file's directory. The
// separator is a parameter so that Windows-style inputs can be tested exactly.
#pragma once

#include <string>

namespace kib {

class Diagnostics;

// dir ends with the separator. Returns an absolute path for p.
// A debug line goes into the diagnostics, when given, where ".." climbs above the root.
std::string MakePathFrom(const std::string& dir, const std::string& p, char sep,
                         Diagnostics* diagnostics = nullptr);
std::string MakeRelativePathFrom(const std::string& dir, const std::string& absolutePath, char sep);
// Separators as the system writes them: on Linux a backslash in a configured
// relative path (written on Windows) is read as "/"; on Windows "/" is read as "\\".
std::string NormaliseSeparators(const std::string& p);

} // namespace kib
