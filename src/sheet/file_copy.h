// Copying a file into place: written under a temporary name next to the target,
// given the source's modification time, then moved onto the target name.
#pragma once

#include <string>

namespace kib {

// Copies from onto to, which must not exist. Returns false with the system
// error number in errorCode when the copy fails; no partial target is left.
bool CopyFileInto(const std::string& from, const std::string& to, int& errorCode);

// Copies from onto to, replacing an existing file only once the whole copy is
// written, so that a failed copy leaves the old file whole. Same results as
// CopyFileInto otherwise.
bool ReplaceWithCopy(const std::string& from, const std::string& to, int& errorCode);

} // namespace kib
