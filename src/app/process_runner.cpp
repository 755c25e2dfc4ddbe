#include "app/process_runner.h"

#include "app/command_words.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "platform/paths.h"
#include "platform/process.h"

#include <vector>

namespace kib {

namespace {

ProcessEnd EndOf(platform::ProcessEnd end) {
    switch (end) {
    case platform::ProcessEnd::Exited:
        return ProcessEnd::Exited;
    case platform::ProcessEnd::TimedOut:
        return ProcessEnd::TimedOut;
    case platform::ProcessEnd::Stopped:
        return ProcessEnd::Stopped;
    case platform::ProcessEnd::WaitFailed:
        return ProcessEnd::WaitFailed;
    case platform::ProcessEnd::PipeFailed:
    case platform::ProcessEnd::StartFailed:
        break;
    }
    return ProcessEnd::NotStarted;
}

} // namespace

std::string MakeProgramPath(const std::string& directory, bool addBinFolder,
                            const std::string& programName) {
    const char separator = platform::PreferredSeparator();
    std::string path = platform::WithSeparator(directory);
    const bool inBin = path.size() > 4 && platform::IsSeparator(path.back()) &&
                       path.compare(path.size() - 4, 3, "bin") == 0;
    if (addBinFolder && !inBin) {
        path += std::string("bin") + separator;
    }
    return path + programName;
}

std::string RunExternalProcess(std::string directory, bool addBinFolder, std::string programName,
                               std::string arguments, int timeoutSeconds, ProcessOutcome* outcome) {
    ProcessOutcome local;
    ProcessOutcome& result = outcome ? *outcome : local;
    result = ProcessOutcome{};

    const std::string path = MakeProgramPath(directory, addBinFolder, programName);
    App().Log().Info("Calling %s %s...", path.c_str(), arguments.c_str());
    const std::vector<std::string> words = SplitCommandWords(arguments);
    App().Log().Debug("Process:'%s', arguments: '%s'", path.c_str(), arguments.c_str());

    // The stop poll after every one-second slice the program did not end in.
    const auto stop = [] {
        if (CheckBreak()) {
            App().Log().Warning("Terminating Inkscape process...");
            return true;
        }
        return false;
    };
    platform::ProcessResult run = platform::RunProcess(path, words, timeoutSeconds, stop);
    result.end = EndOf(run.end);
    result.exitCode = run.exitCode;
    result.exitSignal = run.exitSignal;
    switch (run.end) {
    case platform::ProcessEnd::PipeFailed:
        App().Log().Error("Cannot create pipe (error=%d).", run.error);
        return {};
    case platform::ProcessEnd::StartFailed:
        App().Log().Error("Cannot create process (error=%d).", run.error);
        return {};
    case platform::ProcessEnd::WaitFailed:
        App().Log().Error("Wait for process failed (error=%d).", run.error);
        return {};
    case platform::ProcessEnd::Exited:
        App().Log().Debug("Process completed after %d seconds.", run.seconds);
        break;
    case platform::ProcessEnd::TimedOut:
        App().Log().Error("Waiting for process completion failed after %d seconds.",
                          timeoutSeconds);
        App().Log().Warning("Terminating Inkscape process...");
        break;
    case platform::ProcessEnd::Stopped:
        break;
    }
    return std::move(run.output);
}

bool IsToolkitChatter(const std::string& line) {
    // The GTK and GLib domains name themselves ("(inkscape:4711): Gtk-WARNING **:"),
    // and a few messages come without a domain.
    static const char* const kMarks[] = {
        "Gtk-WARNING",        "Gtk-CRITICAL",          "Gtk-Message",
        "Gdk-WARNING",        "Gdk-CRITICAL",          "Gdk-Message",
        "GLib-WARNING",       "GLib-CRITICAL",         "GLib-GIO-",
        "GLib-GObject-",      "dbind-WARNING",         "Failed to wrap object of type '",
        "Fontconfig warning", "Unable to init server",
    };
    for (const char* mark : kMarks) {
        if (line.find(mark) != std::string::npos) {
            return true;
        }
    }
    return false;
}

namespace {

void LogOutputLine(const std::string& line) {
    if (IsToolkitChatter(line)) {
        App().Log().Debug("%s", line.c_str());
    } else {
        App().Log().Info("%s", line.c_str());
    }
}

} // namespace

void LogProgramOutput(const std::string& output) {
    std::size_t start = 0;
    for (std::size_t nl = output.find('\n'); nl != std::string::npos;
         nl = output.find('\n', start)) {
        const std::size_t end = nl > start && output[nl - 1] == '\r' ? nl - 1 : nl;
        LogOutputLine(output.substr(start, end - start));
        start = nl + 1;
    }
    if (start < output.size()) {
        LogOutputLine(output.substr(start));
    }
}

} // namespace kib
