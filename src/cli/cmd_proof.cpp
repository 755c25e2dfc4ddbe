// kib proof: the whole event on one page for the organiser's and the event
// adviser's check before printing. Makes the competition maps and solution
// sheets as kib maps and kib solutions do, renders every canvas, and writes an
// HTML page with the analysis, the log and the answer key of every station.
#include "app/proof_run.h"
#include "cli/cli_context.h"
#include "cli/common_options.h"
#include "cli/config_path.h"
#include "cli/station_list.h"
#include "config/kib_doc.h"
#include "sheet/task_range.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace kib::cli {

namespace {

struct ProofOptions {
    std::string file;
    std::string stations; // empty: every station of the event
    std::string output;   // empty: proof.html in the output folder
};

int Proof(const ProofOptions& options) {
    StationSet stations;
    if (!ParseStationsOption(options.stations, stations)) {
        return kExitUsage;
    }
    CKibDoc doc;
    if (!OpenConfiguration(doc, options.file)) {
        return kExitError;
    }
    if (!CheckChoiceOption(*doc.GetConfig(), stations, kTaskAll, options.file)) {
        return kExitUsage;
    }
    std::string written;
    std::vector<Diagnostic> verdicts;
    const int status =
        MakeProof(doc, stations, AbsoluteFromHere(options.output), written, &verdicts);
    // The page's verdict in the terminal: one line per red or amber station.
    for (const Diagnostic& verdict : verdicts) {
        std::cerr << (verdict.kind == DiagnosticKind::Error ? "error: " : "warning: ")
                  << verdict.text << "\n";
    }
    if (!written.empty()) {
        std::cerr << "info: Proof page " << written << " written.\n";
    }
    return status;
}

} // namespace

void AddProofCommand(CLI::App& app, Context& ctx) {
    auto options = std::make_shared<ProofOptions>();
    auto* proof = app.add_subcommand(
        "proof", "Make the competition maps and solution sheets of FILE.cfg and one HTML page "
                 "that shows every canvas with the analysis, the log and the answer key of its "
                 "station, for checking before printing");
    AddFileOption(*proof, options->file);
    AddStationsOption(*proof, options->stations, "show");
    proof
        ->add_option("-o,--output", options->output,
                     "Write the page to PAGE.html (default: proof.html in the output folder); "
                     "its pictures go into the folder PAGE-files beside it")
        ->option_text("PAGE.html");
    proof->callback([&ctx, options] { ctx.run = [options](CliHost&) { return Proof(*options); }; });
}

} // namespace kib::cli
