// What the Make verbs (kib maps, images, solutions, solution-images) share: their
// options, the choice of stations, task and format read from them, and the run
// of a Make command with that choice in place of the Make dialog.
#pragma once

#include "app/make_command.h"
#include "cli/cli_host.h"
#include "cli/common_options.h"

#include <string>

namespace CLI {
class App;
}

namespace kib::cli {

struct Context;

struct MakeVerbOptions {
    std::string file;
    std::string stations;     // empty: every station
    std::string task = "all"; // verbs with a task choice
    std::string format;       // raster verbs: pdf, ps, eps or png
    bool combine = false;     // raster verbs: also one PDF of every converted sheet
    std::string converter;    // raster verbs: inkscape or builtin; empty: System.CONVERTER
};

// "all", "cover", "none" or a task number 1 .. 15 (0 is the cover too).
bool ParseTaskChoice(const std::string& text, int& choice);

void AddTaskOption(CLI::App& command, std::string& task);
void AddFormatOption(CLI::App& command, std::string& format);
void AddConverterOption(CLI::App& command, std::string& converter);

// The exit status of a Make command: its closing box decides (the box comes
// from the run's result); a command that ended before its run (refused,
// declined, wrong layout) failed; a choice the command refused is bad usage.
int MakeStatus(const MakeOutcome& outcome);

using MakeHandler = MakeOutcome (*)(CKibDoc* document, const MakeDialog& dialog);

// Runs a Make command on FILE.cfg with the choice of the options: bad --stations,
// --task, --format or --converter text, or a station outside the configuration's range, is a
// usage error (64) with a message on standard error. withTask and withFormat
// tell which of the options the verb has.
int RunMakeVerb(const MakeVerbOptions& options, MakeHandler handler, bool withTask, bool withFormat,
                CliHost& host);

// A Make verb as the command line shows it: FILE.cfg, --format and --converter
// when withFormat, --stations, and --task when withTask.
struct MakeVerb {
    const char* name = "";
    const char* description = "";
    MakeHandler handler = nullptr;
    bool withTask = false;
    bool withFormat = false;
};

// Registers the verb; when it is chosen, its Make command runs with RunMakeVerb.
void AddMakeVerb(CLI::App& app, Context& ctx, const MakeVerb& verb);

} // namespace kib::cli
