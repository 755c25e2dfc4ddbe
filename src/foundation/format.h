// printf-style formatting into a string of any length: the one formatter of the
// program. Its arguments are checked against the format by the compiler. Log
// lines are cut to the log's length by the log itself (foundation/log.h).
#pragma once

#include <cstdarg>
#include <string>

namespace kib {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same for a list of arguments that a variadic function passes on.
std::string FormatV(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

} // namespace kib
