#include "cli/make_verb.h"

#include "cli/cli_context.h"
#include "cli/config_path.h"
#include "cli/station_list.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "sheet/task_range.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <vector>

namespace kib::cli {

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

void AddTaskOption(CLI::App& command, std::string& task) {
    command
        .add_option("--task", task,
                    "all (default), cover (the cover canvas), none (read and lay out the "
                    "stations only) or a task number")
        ->option_text("all|cover|none|N");
}

void AddFormatOption(CLI::App& command, std::string& format) {
    command.add_option("--format", format, "The format of the converted files")
        ->required()
        ->option_text("pdf|ps|eps|png");
}

void AddConverterOption(CLI::App& command, std::string& converter) {
    command
        .add_option("--converter", converter,
                    "The program that converts the sheets: inkscape (one process per sheet) or "
                    "builtin (librsvg and cairo in kib itself, much faster); default: "
                    "System.CONVERTER of FILE.cfg")
        ->option_text("inkscape|builtin");
}

int MakeStatus(const MakeOutcome& outcome) {
    if (outcome.end == MakeEnd::BadChoice) {
        return kExitUsage;
    }
    // A stopped run did not make everything: a script must not read it as success.
    if (outcome.stopped) {
        return kExitError;
    }
    if (outcome.end != MakeEnd::Closed) {
        return kExitError;
    }
    switch (outcome.verdict) {
    case Verdict::Errors:
        return kExitError;
    case Verdict::Warnings:
        return kExitWarning;
    case Verdict::Success:
        break;
    }
    return kExitOk;
}

int RunMakeVerb(const MakeVerbOptions& options, MakeHandler handler, bool withTask, bool withFormat,
                CliHost&) {
    MakeChoice choice;
    if (!ParseStationsOption(options.stations, choice.stations)) {
        return kExitUsage;
    }
    if (withTask && !ParseTaskChoice(options.task, choice.taskChoice)) {
        std::cerr << "error: --task: '" << options.task << "' is not all, cover, none or 1-15\n";
        return kExitUsage;
    }
    if (withFormat) {
        choice.outputFormat = OutputFormatOfExtension(options.format);
        if (choice.outputFormat == OutputFormat::None) {
            std::cerr << "error: --format: '" << options.format << "' is not pdf, ps, eps or png\n";
            return kExitUsage;
        }
        if (options.combine && options.format != "pdf") {
            std::cerr << "error: --combine: only PDF files are combined into one file\n";
            return kExitUsage;
        }
        choice.combine = options.combine;
        if (options.converter == "inkscape") {
            choice.converter = Converter::Inkscape;
        } else if (options.converter == "builtin") {
            choice.converter = Converter::BuiltIn;
        } else if (!options.converter.empty()) {
            std::cerr << "error: --converter: '" << options.converter
                      << "' is not inkscape or builtin\n";
            return kExitUsage;
        }
    }
    CKibDoc doc;
    if (!OpenConfiguration(doc, options.file)) {
        return kExitError;
    }
    if (!CheckChoiceOption(*doc.GetConfig(), choice.stations,
                           withTask ? choice.taskChoice : kTaskAll, options.file)) {
        return kExitUsage;
    }
    const MakeOutcome outcome =
        handler(&doc, [&choice](const MakeDialogRequest&) { return choice; });
    return MakeStatus(outcome);
}

void AddMakeVerb(CLI::App& app, Context& ctx, const MakeVerb& verb) {
    auto options = std::make_shared<MakeVerbOptions>();
    auto* command = app.add_subcommand(verb.name, verb.description);
    AddFileOption(*command, options->file);
    if (verb.withFormat) {
        AddFormatOption(*command, options->format);
        command->add_flag("--combine", options->combine,
                          "With --format pdf: also write every converted sheet of the run, in "
                          "station and task order, into one file EVENT-maps.pdf or "
                          "EVENT-solutions.pdf in the output folder");
        AddConverterOption(*command, options->converter);
    }
    AddStationsOption(*command, options->stations, "make");
    if (verb.withTask) {
        AddTaskOption(*command, options->task);
    }
    command->callback([&ctx, options, verb] {
        ctx.run = [options, verb](CliHost& host) {
            return RunMakeVerb(*options, verb.handler, verb.withTask, verb.withFormat, host);
        };
    });
}

} // namespace kib::cli
