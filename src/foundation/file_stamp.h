// File stamps: last-write times as 100 ns intervals since 1601-01-01 UTC.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kib {

class Diagnostics;

using FileStamp = std::uint64_t;

// Seconds from 1601-01-01 to 1970-01-01.
inline constexpr std::uint64_t kEpochDifferenceSeconds = 11644473600ULL;

bool GetFileStamp(const std::string& path, FileStamp& stamp, Diagnostics& diagnostics);
// GetFileStamp without the log, for a thread that must not log: the debug line
// that GetFileStamp would report is added to notes instead.
bool ReadFileStamp(const std::string& path, FileStamp& stamp, std::vector<std::string>& notes);
// -1 when a is older than b, 0 when equal, +1 when a is newer; missing files count as 0.
int CompareFileStamps(const std::string& a, const std::string& b, Diagnostics& diagnostics);
// Sets the access and modification times of an existing file; false on failure.
bool SetFileStamp(const std::string& path, FileStamp stamp);

} // namespace kib
