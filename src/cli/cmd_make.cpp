// kib check / kib maps: the layout check of a configuration, and the Make
// Vector Maps command with its choice of stations and task from the command line.
#include "app/make_command.h"
#include "cli/cli_context.h"
#include "cli/config_path.h"
#include "cli/make_verb.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "sheet/check_layout.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace kib::cli {

namespace {

int CheckConfig(const std::string& file) {
    const LogScope tally;
    CKibDoc doc;
    if (!OpenConfiguration(doc, file)) {
        return kExitError;
    }
    if (!CheckLayout(doc, true)) {
        return kExitError;
    }
    return StatusFrom(tally);
}

} // namespace

void AddMakeCommands(CLI::App& app, Context& ctx) {
    auto options = std::make_shared<MakeVerbOptions>();

    auto* check = app.add_subcommand(
        "check", "Load FILE.cfg and run the layout check of competition and solution sheets");
    AddFileOption(*check, options->file);
    check->callback(
        [&ctx, options] { ctx.run = [options](CliHost&) { return CheckConfig(options->file); }; });

    AddMakeVerb(app, ctx,
                {.name = "maps",
                 .description = "Make the competition maps (map-S.T.svg) and print sheets "
                                "(prn-...svg) of FILE.cfg in its output directory (Target.DIR)",
                 .handler = OnMakeMapSvgs,
                 .withTask = true});
}

} // namespace kib::cli
