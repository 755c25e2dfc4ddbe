// kib images / kib solutions / kib solution-images: Make Raster Maps, Make
// Vector Solutions and Make Raster Solutions with their choice of stations, task
// and format from the command line.
#include "app/make_command.h"
#include "cli/cli_context.h"
#include "cli/make_verb.h"

namespace kib::cli {

void AddImageCommands(CLI::App& app, Context& ctx) {
    AddMakeVerb(app, ctx,
                {.name = "images",
                 .description = "Make the competition maps and print sheets of FILE.cfg as SVG, "
                                "then convert them (with Inkscape or the built-in converter) into "
                                "PDF, PS, EPS or PNG files beside them",
                 .handler = OnMakeMapImages,
                 .withTask = true,
                 .withFormat = true});
    AddMakeVerb(app, ctx,
                {.name = "solutions",
                 .description = "Make the solution sheets (sol-A-B.svg) of FILE.cfg in its output "
                                "directory (Target.DIR)",
                 .handler = OnMakeSolSvgs});
    AddMakeVerb(app, ctx,
                {.name = "solution-images",
                 .description = "Make the solution sheets of FILE.cfg as SVG, then convert them "
                                "(with Inkscape or the built-in converter) into PDF, PS, EPS or "
                                "PNG files beside them",
                 .handler = OnMakeSolImages,
                 .withFormat = true});
}

} // namespace kib::cli
