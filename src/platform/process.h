// Running another program (a converter) with its output captured: standard
// output and standard error on one pipe, standard input from the null device,
// waited for in one-second slices with a stop poll after each, and ended with
// everything it started on time-out or stop. The program never outlives Kib.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kib::platform {

enum class ProcessEnd {
    PipeFailed,  // no pipe for the output
    StartFailed, // the program could not be started
    Exited,      // the program ended by itself
    TimedOut,    // ended after the time-out
    Stopped,     // ended after the stop poll asked for it
    WaitFailed,  // waiting for the program failed; it was left alone
};

struct ProcessResult {
    ProcessEnd end = ProcessEnd::StartFailed;
    int error = 0;      // errno number when the pipe, the start or the wait failed
    int seconds = 0;    // the one-second slices waited, the one in which it ended included
    int exitCode = -1;  // the program's exit code when it ended by itself
    int exitSignal = 0; // the signal that ended it (Linux), 0 when none
    std::string output; // everything it wrote, in the order it reached the pipe
};

// Called after every one-second slice in which the program did not end; true
// ends the program.
using StopPoll = std::function<bool()>;

// Starts program (a path) with the arguments as its words (no shell), waits at
// most timeoutSeconds (0 or less: ends it at once) and returns how it ended and
// what it wrote. The program and every program it started are ended on
// time-out or stop; after a normal end the rest of the output is still read.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         int timeoutSeconds, const StopPoll& stop);

// This process's id.
int ProcessId();
// Whether a process with this id runs (this process included).
bool ProcessRuns(int pid);

// Gives the memory this process freed back to the system where the allocator
// keeps it otherwise (glibc keeps the pages of a freed map reading for the
// next one), so that the next step's memory comes on top of what is in use,
// not of the largest step so far. Nothing where the allocator returns it itself.
void ReturnFreedMemory();

} // namespace kib::platform
