// Careful access to the files Kib reads and writes: why a write failed in words
// a user understands, and files flushed to the disk before they replace others.
#pragma once

#include <string>

namespace kib {

// The reason of a failed write or create for a message: "no space left on the
// disk", "read-only file system", "the folder does not exist", ... (the system's
// own text for any other error number).
std::string WriteFailureReason(int errorNumber);

// Writes a file's data to the disk (fsync); false with errorNumber set when the
// file cannot be opened or flushed.
bool FlushToDisk(const std::string& path, int& errorNumber);

// Makes a rename in the folder of path durable (fsync of the folder); failures
// are ignored, some file systems cannot do it.
void FlushFolderOf(const std::string& path);

} // namespace kib
