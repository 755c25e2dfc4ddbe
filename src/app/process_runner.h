// Runs an external program (Inkscape) with its output captured, keeping the
// user interface alive and honouring the Stop command while it waits.
#pragma once

#include <string>

namespace kib {

// How a run of an external program ended.
enum class ProcessEnd {
    NotStarted, // no pipe or the program could not be started
    Exited,     // the program ended by itself
    TimedOut,   // killed after the time-out
    Stopped,    // killed after the Stop command
    WaitFailed, // waiting for the program failed; it was left alone
};

struct ProcessOutcome {
    ProcessEnd end = ProcessEnd::NotStarted;
    int exitCode = -1;  // exit code when the program ended by itself with exit()
    int exitSignal = 0; // the signal that ended it, 0 when none
};

// directory + the separator (unless it ends with one) + "bin" and the separator
// (when addBinFolder, unless the path already ends with them) + programName.
std::string MakeProgramPath(const std::string& directory, bool addBinFolder,
                            const std::string& programName);

// Starts the program with the argument string split into words (no shell),
// standard input from the null device and standard output and error on one
// pipe. The program never outlives Kib, even when Kib is killed. Waits in
// one-second slices, polling CheckBreak after each; the program and everything
// it started are ended on Stop or when timeoutSeconds have passed (at once when
// it is 0 or less). Returns everything the program wrote, in order; empty when it
// could not be started or the wait failed. Problems are reported through the log.
std::string RunExternalProcess(std::string directory, bool addBinFolder, std::string programName,
                               std::string arguments, int timeoutSeconds,
                               ProcessOutcome* outcome = nullptr);

// Shows a program's output in the log, one LogInfo line per output line (a line
// ends with "\n" or "\r\n"; empty lines included). A last piece without line
// end is shown when it is not empty. The toolkit's chatter (IsToolkitChatter)
// goes to the Debug pane only.
void LogProgramOutput(const std::string& output);

// Whether a line of Inkscape's output is the chatter of its toolkit (GTK, GLib:
// "Failed to wrap object of type 'GtkRecentManager'", "Gtk-WARNING **: ..."),
// which says nothing about the conversion.
bool IsToolkitChatter(const std::string& line);

} // namespace kib
