// kib images / kib solutions / kib solution-images: Make Raster Maps, Make
// Vector Solutions and Make Raster Solutions with their choice of stations, task
// and format from the command line.
#include "app/make_command.h"
#include "cli/cli_context.h"
#include "cli/make_verb.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace kib::cli {

void AddImageCommands(CLI::App& app, Context& ctx) {
    auto options = std::make_shared<MakeVerbOptions>();

    auto* images = app.add_subcommand(
        "images", "Make the competition maps and print sheets of FILE.cfg as SVG, then convert "
                  "them with Inkscape into PDF, PS, EPS or PNG files beside them");
    AddFileOption(*images, options->file);
    AddFormatOption(*images, options->format);
    AddStationsOption(*images, options->stations);
    AddTaskOption(*images, options->task);
    images->callback([&ctx, options] {
        ctx.run = [options](CliHost& host) {
            return RunMakeVerb(*options, OnMakeMapImages, true, true, host);
        };
    });

    auto* solutions = app.add_subcommand(
        "solutions", "Make the solution sheets (sol-A-B.svg) of FILE.cfg in its output directory "
                     "(Target.DIR)");
    AddFileOption(*solutions, options->file);
    AddStationsOption(*solutions, options->stations);
    solutions->callback([&ctx, options] {
        ctx.run = [options](CliHost& host) {
            return RunMakeVerb(*options, OnMakeSolSvgs, false, false, host);
        };
    });

    auto* solutionImages = app.add_subcommand(
        "solution-images", "Make the solution sheets of FILE.cfg as SVG, then convert them with "
                           "Inkscape into PDF, PS, EPS or PNG files beside them");
    AddFileOption(*solutionImages, options->file);
    AddFormatOption(*solutionImages, options->format);
    AddStationsOption(*solutionImages, options->stations);
    solutionImages->callback([&ctx, options] {
        ctx.run = [options](CliHost& host) {
            return RunMakeVerb(*options, OnMakeSolImages, false, true, host);
        };
    });
}

} // namespace kib::cli
