// kib check / kib maps: the layout check of a configuration, and the Make
// Vector Maps command with its choice of stations and task from the command line.
#include "app/make_command.h"
#include "cli/cli_context.h"
#include "cli/station_list.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "sheet/map_generation.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace kib::cli {

namespace {

struct MakeOptions {
    std::string file;
    std::string stations; // empty: every station
    std::string task = "all";
};

// "all", "cover", "none" or a task number 1 .. 15 (0 is the cover too).
bool ParseTaskChoice(const std::string& text, int& choice) {
    if (text == "all") {
        choice = kTaskAll;
    } else if (text == "cover") {
        choice = kTaskCover;
    } else if (text == "none") {
        choice = kTaskNone;
    } else if (!text.empty() && text.size() <= 2 &&
               text.find_first_not_of("0123456789") == std::string::npos) {
        choice = std::stoi(text);
        return choice <= 15;
    } else {
        return false;
    }
    return true;
}

int CheckConfig(const std::string& file) {
    CKibDoc doc;
    if (!doc.OnOpenDocument(file)) {
        return kExitError;
    }
    if (!doc.CheckLayout(true)) {
        return kExitError;
    }
    return StatusFromFlags();
}

// The exit status of a Make command: its closing box decides; a command that
// ended before its run (refused, declined, wrong layout) failed.
int MakeStatus(const MakeOutcome& outcome, const CliHost& host) {
    return outcome.end == MakeEnd::Closed ? host.LastBoxStatus() : kExitError;
}

int MakeMaps(const MakeOptions& options, CliHost& host) {
    std::vector<int> stations;
    std::string error;
    if (!options.stations.empty() && !ParseStationList(options.stations, stations, error)) {
        std::cerr << "kib: --stations: " << error << "\n";
        return kExitUsage;
    }
    MakeChoice choice;
    if (!ParseTaskChoice(options.task, choice.taskChoice)) {
        std::cerr << "kib: --task: '" << options.task << "' is not all, cover, none or 1-15\n";
        return kExitUsage;
    }
    CKibDoc doc;
    if (!doc.OnOpenDocument(options.file)) {
        return kExitError;
    }
    const CKibCfg& cfg = *doc.GetConfig();
    for (int n : stations) {
        if (n < cfg.GetMinStation() || n > cfg.GetMaxStation()) {
            std::cerr << "kib: --stations: station " << n << " is not among the stations "
                      << cfg.GetMinStation() << "-" << cfg.GetMaxStation() << " of " << options.file
                      << "\n";
            return kExitUsage;
        }
    }
    choice.stationMask = StationMask(stations);
    const MakeOutcome outcome =
        OnMakeMapSvgs(&doc, [&choice](const MakeDialogRequest&) { return choice; });
    return MakeStatus(outcome, host);
}

void AddFileOption(CLI::App& command, std::string& file) {
    command.add_option("file", file, "The configuration file")->required()->option_text("FILE.cfg");
}

} // namespace

void AddMakeCommands(CLI::App& app, Context& ctx) {
    auto options = std::make_shared<MakeOptions>();

    auto* check = app.add_subcommand(
        "check", "Load FILE.cfg and run the layout check of competition and solution sheets");
    AddFileOption(*check, options->file);
    check->callback(
        [&ctx, options] { ctx.run = [options](CliHost&) { return CheckConfig(options->file); }; });

    auto* maps = app.add_subcommand(
        "maps", "Make the competition maps (map-S.T.svg) and print sheets (prn-...svg) of "
                "FILE.cfg in its output directory (Target.DIR)");
    AddFileOption(*maps, options->file);
    maps->add_option("--stations", options->stations,
                     "Stations to make, numbers and ranges such as 1,3-5 (default: all)")
        ->option_text("LIST");
    maps->add_option("--task", options->task,
                     "all (default), cover (the cover canvas), none (read and lay out the "
                     "stations only) or a task number")
        ->option_text("all|cover|none|N");
    maps->callback([&ctx, options] {
        ctx.run = [options](CliHost& host) { return MakeMaps(*options, host); };
    });
}

} // namespace kib::cli
