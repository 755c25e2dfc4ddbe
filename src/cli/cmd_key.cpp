// kib key: the answer key of an event for the results desk (CSV or JSON) and
// the station officials (a printable PDF sheet), read from the exports and
// checked against the maps.
#include "app/answer_key_export.h"
#include "cli/cli_context.h"
#include "cli/common_options.h"
#include "cli/config_path.h"
#include "cli/station_list.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "sheet/task_range.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace kib::cli {

namespace {

struct KeyOptions {
    std::string file;
    std::string stations; // empty: every station of the event
    std::string format = "csv";
    std::string output; // empty: EVENT-key.FORMAT beside the configuration
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

int Key(const KeyOptions& options) {
    KeyFormat format = KeyFormat::Csv;
    if (!ParseKeyFormat(options.format, format)) {
        std::cerr << "error: --format: '" << options.format << "' is not csv, json or pdf\n";
        return kExitUsage;
    }
    if (format == KeyFormat::Pdf && !options.output.empty() && !EndsWith(options.output, ".pdf")) {
        std::cerr << "error: --output: the answer key sheet is a PDF file: name it *.pdf\n";
        return kExitUsage;
    }
    CKibDoc doc;
    std::vector<int> stations;
    if (const int status = OpenChosenStations(options.file, options.stations, doc, stations);
        status != kExitOk) {
        return status;
    }
    const std::string target =
        options.output.empty() ? DefaultKeyPath(doc, format) : AbsoluteFromHere(options.output);
    std::string written;
    const int status = ExportAnswerKey(doc, stations, format, target, written);
    if (!written.empty()) {
        std::cerr << "info: Answer key " << written << " written.\n";
    }
    return status;
}

} // namespace

void AddKeyCommand(CLI::App& app, Context& ctx) {
    auto options = std::make_shared<KeyOptions>();
    auto* key = app.add_subcommand(
        "key", "Write the answer key of FILE.cfg (station, task, control code, the key's answer, "
               "the map's answer, the nearest flag and its distance) for the results desk, or a "
               "printable sheet for the station officials; warns where key and map disagree");
    AddFileOption(*key, options->file);
    AddStationsOption(*key, options->stations, "write");
    key->add_option("--format", options->format,
                    "csv (default: one row per task), json (the same rows) or pdf (one A4 sheet "
                    "with a table per station, through the configured converter)")
        ->option_text("csv|json|pdf");
    key->add_option("-o,--output", options->output,
                    "Write to FILE (default: EVENT-key.csv, .json or .pdf beside EVENT.cfg)")
        ->option_text("FILE");
    key->callback([&ctx, options] { ctx.run = [options](CliHost&) { return Key(*options); }; });
}

} // namespace kib::cli
