// kib analyse: the organiser's pre-flight check of the exports. Reads the
// courses file and the map of each selected station as a generation run does,
// with all their log lines, and prints one summary line per station.
#include "app/analyse_run.h"
#include "cli/cli_context.h"
#include "cli/common_options.h"
#include "cli/config_path.h"
#include "cli/station_list.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "sheet/task_range.h"

#include <CLI/CLI.hpp>

#include <algorithm>

#include <iostream>
#include <memory>

namespace kib::cli {

namespace {

struct AnalyseOptions {
    std::string file;
    std::string stations; // empty: every station of the event
};

int Analyse(const AnalyseOptions& options) {
    CKibDoc doc;
    std::vector<int> stations;
    if (const int status = OpenChosenStations(options.file, options.stations, doc, stations);
        status != kExitOk) {
        return status;
    }
    std::vector<std::string> summary;
    const int status = AnalyseStations(doc, stations, summary, App().Log());
    std::cout << "Summary:\n";
    for (const auto& line : summary) {
        std::cout << "  " << line << '\n';
    }
    std::cout << std::flush;
    // What loading the configuration reported counts as in every command.
    const int loaded = doc.loadVerdict == Verdict::Errors     ? 2
                       : doc.loadVerdict == Verdict::Warnings ? 1
                                                              : 0;
    return status == kExitUsage ? status : std::max(status, loaded);
}

} // namespace

void AddAnalyseCommand(CLI::App& app, Context& ctx) {
    auto options = std::make_shared<AnalyseOptions>();
    auto* analyse = app.add_subcommand(
        "analyse", "Read the courses file and the map of each station of FILE.cfg as a Make "
                   "command does and report what was found (tasks, flags, rotation, circles)");
    AddFileOption(*analyse, options->file);
    AddStationsOption(*analyse, options->stations, "analyse");
    analyse->callback(
        [&ctx, options] { ctx.run = [options](CliHost&) { return Analyse(*options); }; });
}

} // namespace kib::cli
