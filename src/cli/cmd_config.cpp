// kib config show / kib config save: load a configuration file, print every
// setting, or write it back in the current format.
#include "cli/cli_context.h"
#include "cli/common_options.h"
#include "cli/config_path.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/text_codec.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace kib::cli {

namespace {

// A configuration that opened: 1 when an error or a warning was logged while
// it was read, else 0.
int StatusAfterLoad(const LogScope& tally) {
    return tally.Errors() > 0 || tally.Warnings() > 0 ? kExitWarning : kExitOk;
}

// Prints Section.KEY=value for every item of a section, marking unset items.
void PrintSection(const CCfgSect& sect) {
    for (const auto& item : sect.Items()) {
        std::cout << ToUtf8(sect.GetName()) << '.' << item->GetKey() << '='
                  << ToUtf8(item->GetValue());
        if (!item->IsSet()) {
            std::cout << "  (default)";
        }
        std::cout << '\n';
    }
}

void PrintConfig(const CKibCfg& cfg) {
    for (const auto& sect : cfg.Sections()) {
        if (sect->GetStation() >= 0 && !sect->HasSetItem()) {
            continue;
        }
        PrintSection(*sect);
    }
    std::cout << std::flush;
}

int ShowConfig(const std::string& file) {
    const LogScope tally;
    CKibDoc doc;
    if (!OpenConfiguration(doc, file)) {
        return kExitError;
    }
    PrintConfig(*doc.GetConfig());
    return StatusAfterLoad(tally);
}

int SaveConfig(const std::string& file, const std::string& out) {
    const LogScope tally;
    CKibDoc doc;
    if (!OpenConfiguration(doc, file)) {
        return kExitError;
    }
    if (!doc.OnSaveDocument(AbsoluteFromHere(out.empty() ? file : out))) {
        return kExitError;
    }
    return StatusFrom(tally);
}

} // namespace

void AddConfigCommands(CLI::App& app, Context& ctx) {
    auto* config = app.add_subcommand(
        "config", "Load a configuration file (.cfg) and show it or save it in the current format");
    config->require_subcommand(1);

    auto file = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();

    auto* show = config->add_subcommand(
        "show", "Load FILE.cfg and print every setting as Section.KEY=value, marking defaults");
    AddFileOption(*show, *file);
    show->callback([&ctx, file] { ctx.run = [file](CliHost&) { return ShowConfig(*file); }; });

    auto* save = config->add_subcommand(
        "save", "Load FILE.cfg and write it in the current format (upgrades files of older "
                "versions)");
    AddFileOption(*save, *file);
    save->add_option("-o,--output", *out, "Write to OUT.cfg instead of back to FILE.cfg")
        ->option_text("OUT.cfg");
    save->callback(
        [&ctx, file, out] { ctx.run = [file, out](CliHost&) { return SaveConfig(*file, *out); }; });
}

} // namespace kib::cli
