// kib new: create a configuration from an OCAD export directory and save it.
#include "app/documents.h"
#include "cli/cli_context.h"
#include "cli/config_path.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/paths.h"
#include "foundation/app_state.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "platform/paths.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

namespace kib::cli {

namespace {

namespace fs = std::filesystem;

struct NewOptions {
    std::string exportDir;
    std::string output; // empty: the event name with ".cfg" in the export directory
    bool force = false;
};

// The configuration file name for an event: its name with ".cfg", or "event.cfg"
// when the exports carry no event name.
std::string DefaultFileName(const CKibCfg& cfg) {
    const std::string& name = cfg.Item(id::Event_NAME).GetValueText();
    return (name.empty() ? std::string("event") : name) + ".cfg";
}

// The folder as an absolute path with links resolved, ending with the separator.
std::string AbsoluteDirectory(const std::string& path) {
    const std::string absolute = platform::AbsolutePath(path.empty() ? "." : path);
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(platform::FsPath(absolute), ec);
    return platform::WithSeparator(ec ? absolute : platform::PathString(canonical));
}

// The folder of a file ("" for a bare name: the current folder).
std::string FolderOf(const std::string& file) {
    const auto last = std::find_if(file.rbegin(), file.rend(), platform::IsSeparator);
    return file.substr(0, static_cast<std::size_t>(file.rend() - last));
}

// A configuration saved outside the export directory still finds the exports:
// its map and courses templates are given the way from its own directory there.
void PointTemplatesAtExports(CKibCfg& cfg, const std::string& exportDir,
                             const std::string& configFile) {
    const std::string exports = AbsoluteDirectory(exportDir);
    const std::string own = AbsoluteDirectory(FolderOf(configFile));
    if (exports == own) {
        return;
    }
    const std::string way =
        platform::WithSeparator(MakeRelativePathFrom(own, exports, platform::PreferredSeparator()));
    for (int itemId : {id::Source_MAP, id::Source_COURSES}) {
        CCfgItem& item = cfg.Item(itemId);
        item.SetText(way + item.GetValue());
    }
}

bool RefuseToReplace(const std::string& file, bool force) {
    std::error_code ec;
    if (force || !fs::exists(platform::FsPath(file), ec)) {
        return false;
    }
    ShowBox(Format("File %s already exists; use --force to replace it.", file.c_str()),
            BoxIcon::Error);
    return true;
}

int NewConfig(const NewOptions& options) {
    if (options.exportDir.empty()) {
        std::cerr << "error: EXPORT_DIR must name a folder\n";
        return kExitUsage;
    }
    // Both names are taken from the working folder, so that the templates saved
    // lead from the configuration's own folder to the exports.
    const std::string output = AbsoluteFromHere(options.output);
    if (!output.empty() && RefuseToReplace(output, options.force)) {
        return kExitError;
    }
    CKibDoc doc;
    // The verdict is what the creation reported, as its closing box says it.
    const LogScope creation;
    if (!CreateDocumentFromFolder(doc, AbsoluteFromHere(options.exportDir))) {
        return kExitError;
    }
    const int status = StatusFrom(creation);
    CKibCfg& cfg = *doc.GetConfig();
    const std::string file = output.empty() ? doc.GetDirectory() + DefaultFileName(cfg) : output;
    if (output.empty() && RefuseToReplace(file, options.force)) {
        return kExitError;
    }
    PointTemplatesAtExports(cfg, doc.GetDirectory(), file);
    if (!doc.OnSaveDocument(file)) {
        return kExitError;
    }
    return status;
}

} // namespace

void AddNewCommand(CLI::App& app, Context& ctx) {
    auto options = std::make_shared<NewOptions>();
    auto* cmd = app.add_subcommand(
        "new", "Create a configuration from an OCAD export directory (the SVG maps and the "
               "courses file) and save it");
    cmd->add_option("export_dir", options->exportDir, "The directory OCAD exported the event into")
        ->required()
        ->option_text("EXPORT_DIR");
    cmd->add_option("-o,--output", options->output,
                    "Save as FILE.cfg (default: the event name with .cfg in EXPORT_DIR)")
        ->option_text("FILE.cfg");
    cmd->add_flag("--force", options->force, "Replace an existing configuration file");
    cmd->callback(
        [&ctx, options] { ctx.run = [options](CliHost&) { return NewConfig(*options); }; });
}

} // namespace kib::cli
