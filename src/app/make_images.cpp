// Make Raster Maps, Make Vector Solutions and Make Raster Solutions: the SVG run
// of their kind and, for the raster commands, the conversion of every sheet the
// run made by Inkscape or the built-in converter, each command closed by its
// message box.
#include "app/builtin_convert.h"
#include "app/conversion_loop.h"
#include "app/inkscape.h"
#include "app/make_command.h"
#include "app/map_view_model.h"
#include "app/pdf_combine.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "map_input/kib_svg.h"
#include "sheet/map_generation.h"
#include "sheet/run_result.h"
#include "sheet/solution_run.h"

#include <algorithm>

namespace kib {

namespace {

constexpr const char* kImagesFailed = "Image files creation failed.";

MakeOutcome Fail(MakeCommand& command, const char* text) {
    command.StopRunning();
    return command.Close(true, false, Verdict::Errors, text, "", "");
}

// The shared steps up to the run of a raster command. A format that names no
// file type ends the command before anything is made.
std::optional<MakeChoice> StartRasterCommand(MakeCommand& command, const MakeDialog& dialog) {
    std::optional<MakeChoice> choice = command.Start(dialog);
    if (choice && OutputFormatExtension(choice->outputFormat) == nullptr) {
        App().Log().Error("Output format %d is unknown.", static_cast<int>(choice->outputFormat));
        Fail(command, kImagesFailed);
        return std::nullopt;
    }
    return choice;
}

// Whether a configured value can be the start of a file name in the output
// folder: no folder separator of either system and no "..", which would lead
// the file out of the folder.
bool StaysInFolder(const std::string& name) {
    return name.find_first_of("/\\") == std::string::npos && name.find("..") == std::string::npos;
}

// The event's one print file: "EVENT-kind.pdf" in the output folder, the
// configuration's name standing in for an event without a name, and for a
// name that would lead out of the folder (with a warning naming the key).
std::string CombinedFileName(const CKibDoc& doc, const ConversionSettings& s, const char* kind) {
    std::string event = doc.GetConfig()->Item(id::Event_NAME).GetValue();
    const std::string configuration = doc.GetFileName().substr(0, doc.GetFileName().rfind('.'));
    if (!StaysInFolder(event)) {
        App().Log().Warning("Event.NAME '%s' holds a folder separator or '..', which would "
                            "put the print file outside the output folder: it is named after the "
                            "configuration, %s-%s.pdf.",
                            event.c_str(), configuration.c_str(), kind);
        event = configuration;
    }
    if (event.empty()) {
        event = configuration;
    }
    return s.directory + event + "-" + kind + ".pdf";
}

// The combine step, when chosen: exactly the converted files of the run, in
// its order. A failed station or a sheet without its converted file would
// leave pages out or show old ones: the print file is then not written and an
// old one is kept.
void CombineIfChosen(const MakeChoice& choice, const CKibDoc& doc, const ConversionSettings& s,
                     const RunResult& run, const char* kind) {
    if (!choice.combine) {
        return;
    }
    if (s.format != OutputFormat::Pdf) {
        App().Log().Warning("Only PDF files are combined into one file; the %s files are "
                            "left single.",
                            OutputFormatExtension(s.format));
        return;
    }
    const std::string target = CombinedFileName(doc, s, kind);
    for (const StationResult& station : run.stations) {
        if (station.outcome == StationOutcome::Failed) {
            App().Log().Error("Cannot combine the sheets into %s: station %d failed; the "
                              "file is not written.",
                              target.c_str(), station.station);
            return;
        }
    }
    std::vector<std::string> files;
    for (const RunSheet* sheet : run.PrintSheets()) {
        if (sheet->converted.empty()) {
            App().Log().Error("Cannot combine the sheets into %s: %s was not converted; the "
                              "file is not written.",
                              target.c_str(), sheet->svg.c_str());
            return;
        }
        files.push_back(sheet->converted);
    }
    if (files.empty()) {
        App().Log().Warning("No sheet to combine into %s.", target.c_str());
        return;
    }
    CombineConvertedSheets(files, target);
}

// What a raster command does after its SVG run: chooses the converter (the
// command's, else the configured one; the built-in one when Inkscape is wanted
// but not installed), finds Inkscape when it converts, converts the sheets the
// run made that go to print, combines them when chosen, and shows the closing
// box of the whole command: errors of the SVG run count as much as those of the
// conversion.
MakeOutcome ConvertAndClose(MakeCommand& command, const MakeChoice& choice, RunResult run,
                            const char* kind) {
    if (run.Failed()) {
        command.StopRunning();
        return command.Close(true, run.stopped, Verdict::Errors, "SVG files creation failed.", "",
                             "");
    }
    SetStatusText(command.Texts().convertStatus);
    CKibDoc& doc = *command.Document();
    const CKibCfg& cfg = *doc.GetConfig();
    LogScope stage;
    Converter converter = Converter::Inkscape;
    if (!PrepareConverter(cfg, choice.converter.value_or(ConfiguredConverter(cfg)), converter)) {
        return Fail(command, kImagesFailed);
    }
    const ConversionSettings settings = ReadConversionSettings(doc, choice.outputFormat);
    if (!ConvertRun(run, settings, converter, command.Stop())) {
        return Fail(command, kImagesFailed);
    }
    CombineIfChosen(choice, doc, settings, run, kind);
    run.Add(stage, true);
    command.StopRunning();
    App().Log().Info("Image files creation completed.");
    const bool anyConverted =
        std::any_of(run.sheets.begin(), run.sheets.end(),
                    [](const RunSheet& sheet) { return !sheet.converted.empty(); });
    return command.Close(false, false, run.GetVerdict(),
                         anyConverted ? "Image files created with some errors!"
                                      : "Image files creation failed!",
                         "Image files created with some warnings!", "Image files created.");
}

RunResult RunSolutions(MakeCommand& command, CKibDoc& doc, const MakeChoice& choice) {
    CKibSvg svg(doc);
    SolutionRun run(svg, command.Log(), command.Stop());
    return run.Run(choice.stations);
}

} // namespace

MakeOutcome OnMakeMapImages(CKibDoc* document, const MakeDialog& dialog) {
    MakeCommand command(MakeCommandKind::MapImages, document);
    const std::optional<MakeChoice> choice = StartRasterCommand(command, dialog);
    if (!choice) {
        return command.Outcome();
    }
    // The conversion takes the sheets of this run, whatever the window lays out
    // meanwhile (its preview in solution mode).
    CKibSvg svg(*document);
    CompetitionRun run(svg, command.Log(), command.Stop());
    run.ShareLayouts(&command.Layouts());
    const RunResult& result = run.Run(choice->stations, choice->taskChoice);
    KeepMapsRun(*document, result);
    return ConvertAndClose(command, *choice, result, "maps");
}

MakeOutcome OnMakeSolSvgs(CKibDoc* document, const MakeDialog& dialog) {
    MakeCommand command(MakeCommandKind::SolSvgs, document);
    const std::optional<MakeChoice> choice = command.Start(dialog);
    if (!choice) {
        return command.Outcome();
    }
    return command.EndSvgCommand(RunSolutions(command, *document, *choice));
}

MakeOutcome OnMakeSolImages(CKibDoc* document, const MakeDialog& dialog) {
    MakeCommand command(MakeCommandKind::SolImages, document);
    const std::optional<MakeChoice> choice = StartRasterCommand(command, dialog);
    if (!choice) {
        return command.Outcome();
    }
    return ConvertAndClose(command, *choice, RunSolutions(command, *document, *choice),
                           "solutions");
}

} // namespace kib
