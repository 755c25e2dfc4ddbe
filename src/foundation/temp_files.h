// Kib's temporary files. Every file Kib writes is first written under a
// temporary name of its own beside its final name and then renamed onto it. The
// temporary name carries the id of the writing process, so that two runs never
// share one and a later run can tell the files left by a process that has ended
// (killed, or the machine went down) from those of a run that is still going.
//
// Two forms, both recognised by RemoveStaleTemporaries:
// - sheets and converted files keep their extension, which tells the converter
//   the format: "map-1.1-tmp-4711.svg", "prn-3.0-3.1-tmp-4711.pdf";
// - every other file (the configuration, the stamp files, a copied logo, the
//   print file, the proof page and its pictures, the lock file):
//   "event.cfg.~kib4711-0", numbered when a name is taken.
// AtomicFile (atomic_file.h) makes both.
#pragma once

#include "platform/files.h"

#include <string>
#include <string_view>

namespace kib {

class Diagnostics;

// "base-tmp-<pid>.extension" ("base-tmp-<pid>" without an extension).
std::string SheetTemporaryPath(const std::string& base, const std::string& extension);

// "target.~kib<pid>-<attempt>".
std::string ReplacementTemporaryPath(const std::string& target, int attempt);

// Creates a new, empty file for writing (mode 0666 less the umask) exclusively:
// never through a symbolic link and never onto anything that is at the name. A
// leftover at this process's own name (an ended process had the same id) is
// removed first; a symbolic link at the name is removed, not followed. Returns
// the open file, or none with the errno number in error.
platform::File CreateTemporaryFile(const std::string& path, int& error);

// Creates a file of the second form beside target: the first free attempt
// number. Returns the open file (path gets the name), or none with the errno
// number in error.
platform::File CreateReplacementFile(const std::string& target, std::string& path, int& error);

// The writing process of a temporary file name: its id; 0 for the unnumbered
// sheet form of earlier versions ("map-1.1-tmp.svg"); -1 when the name is not
// one of Kib's temporary files.
int TemporaryOwner(std::string_view fileName);

// Whether a process with this id runs (this process included).
bool ProcessRuns(int pid);

// Removes from the folder (ending with a separator, empty: the current one) every
// temporary file of Kib whose process has ended, and unnumbered ones of earlier
// versions. Called while the event is locked, so no run of it can own them.
// Returns the number removed; each is reported on the Debug pane.
int RemoveStaleTemporaries(const std::string& folder, Diagnostics& diagnostics);

} // namespace kib
