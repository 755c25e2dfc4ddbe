// Things at a file's name that are no regular file, for the tests that show Kib
// refuses them without waiting.
#pragma once

#include <string>

namespace kib::test {

// Makes a FIFO (named pipe) at the path; false where the system has none at a
// file's name (Windows) or it cannot be made.
bool MakeFifo(const std::string& path);

} // namespace kib::test
