// Make Raster Maps, Make Vector Solutions and Make Raster Solutions: the SVG run
// of their kind and, for the raster commands, the conversion of every sheet the
// run made by Inkscape or the built-in converter, each command closed by its
// message box.
#include "app/builtin_convert.h"
#include "app/conversion_loop.h"
#include "app/inkscape.h"
#include "app/make_command.h"
#include "app/pdf_combine.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "map_input/kib_svg.h"
#include "sheet/map_generation.h"
#include "sheet/solution_run.h"

#include <functional>

namespace kib {

namespace {

constexpr const char* kImagesFailed = "Image files creation failed.";

// The conversion loop of a raster command with the converter to use; false when
// a stop was requested.
using ConversionLoop = std::function<bool(const ConversionSettings&, Converter)>;

MakeOutcome Fail(MakeCommand& command, const char* text) {
    command.StopRunning();
    return command.Close(true, text, "", "");
}

// The shared steps up to the run of a raster command. A format that names no
// file type ends the command before anything is made.
std::optional<MakeChoice> StartRasterCommand(MakeCommand& command, const MakeDialog& dialog) {
    std::optional<MakeChoice> choice = command.Start(dialog);
    if (choice && OutputFormatExtension(choice->outputFormat) == nullptr) {
        LogError("[** ERROR **] Output format %d is unknown.",
                 static_cast<int>(choice->outputFormat));
        Fail(command, kImagesFailed);
        return std::nullopt;
    }
    return choice;
}

// What a raster command does after its SVG run: chooses the converter (the
// command's, else the configured one; the built-in one when Inkscape is wanted
// but not installed), finds Inkscape when it converts, converts the sheets and
// shows the closing box. Errors of the SVG run no longer count then, its
// warnings still do.
MakeOutcome ConvertAndClose(MakeCommand& command, const MakeChoice& choice, bool svgSucceeded,
                            const ConversionLoop& loop) {
    if (!svgSucceeded) {
        return Fail(command, "SVG files creation failed.");
    }
    SetStatusText(command.Texts().convertStatus);
    CKibDoc& doc = *command.Document();
    const CKibCfg& cfg = *doc.GetConfig();
    Converter converter = Converter::Inkscape;
    if (!PrepareConverter(cfg, choice.converter.value_or(ConfiguredConverter(cfg)), converter)) {
        return Fail(command, kImagesFailed);
    }
    App().errorFlag = false;
    if (!loop(ReadConversionSettings(doc, choice.outputFormat), converter)) {
        return Fail(command, kImagesFailed);
    }
    command.StopRunning();
    LogInfo("Image files creation completed.");
    return command.Close(false, "Image files creation failed!\nSee the Output Window for details.",
                         "Image files created with some warnings!\nSee the Output Window for "
                         "details.",
                         "Image files created.");
}

// The event's one print file: "EVENT-kind.pdf" in the output folder, the
// configuration's name standing in for an event without a name.
std::string CombinedFileName(const CKibDoc& doc, const ConversionSettings& s, const char* kind) {
    std::string event = doc.GetConfig()->Item(id::Event_NAME).GetValue();
    if (event.empty()) {
        event = doc.GetFileName().substr(0, doc.GetFileName().rfind('.'));
    }
    return s.directory + event + "-" + kind + ".pdf";
}

// The converted files of the sheets, in their order.
std::vector<std::string> ConvertedFiles(const std::vector<SheetConversion>& sheets,
                                        const ConversionSettings& s) {
    std::vector<std::string> files;
    for (const SheetConversion& sheet : sheets) {
        files.push_back(sheet.base + (sheet.zSuffix ? "z." : ".") +
                        OutputFormatExtension(s.format));
    }
    return files;
}

// The combine step, when chosen: only PDF files are gathered into one.
void CombineIfChosen(const MakeChoice& choice, const CKibDoc& doc, const ConversionSettings& s,
                     const std::vector<SheetConversion>& sheets, const char* kind) {
    if (!choice.combine) {
        return;
    }
    if (s.format != OutputFormat::Pdf) {
        LogWarning("[= WARNING =] Only PDF files are combined into one file; the %s files are "
                   "left single.",
                   OutputFormatExtension(s.format));
        return;
    }
    CombineConvertedSheets(ConvertedFiles(sheets, s), CombinedFileName(doc, s, kind));
}

// The competition run; canvasesPerSheet gets the tiling of its layout.
bool RunCompetition(CKibDoc& doc, const MakeChoice& choice, int& canvasesPerSheet) {
    CKibSvg svg(doc);
    CompetitionRun run(svg);
    const bool ok = run.GenerateCompetitionSvg(choice.stationMask, choice.taskChoice);
    canvasesPerSheet = run.CanvasesPerSheet();
    return ok;
}

// The solution run; stationsPerSheet gets the number of stations on a sheet.
bool RunSolutions(CKibDoc& doc, const MakeChoice& choice, int& stationsPerSheet) {
    CKibSvg svg(doc);
    SolutionRun run(svg);
    const bool ok = run.GenerateSolutionSvg(choice.stationMask);
    stationsPerSheet = run.StationsPerSheet();
    return ok;
}

} // namespace

MakeOutcome OnMakeMapImages(CKibDoc* document, const MakeDialog& dialog) {
    MakeCommand command(MakeCommandKind::MapImages, document);
    const std::optional<MakeChoice> choice = StartRasterCommand(command, dialog);
    if (!choice) {
        return command.Outcome();
    }
    // The conversion follows the tiling of this run's own layout: the window may
    // lay the document out otherwise meanwhile (its preview in solution mode).
    int canvasesPerSheet = 0;
    const bool ok = RunCompetition(*document, *choice, canvasesPerSheet);
    return ConvertAndClose(
        command, *choice, ok, [&](const ConversionSettings& s, Converter converter) {
            const CKibCfg& cfg = *document->GetConfig();
            std::vector<SheetConversion> all;
            for (int n : SelectedStations(cfg, choice->stationMask)) {
                if (cfg.GetTasks(n) == 0) {
                    LogWarning("[= WARNING =] Task number undefined for station %d", n);
                }
                const std::vector<SheetConversion> sheets =
                    MapImageSheets(cfg, s, n, choice->taskChoice, canvasesPerSheet);
                if (!ConvertSheets(sheets, s.format, converter)) {
                    return false;
                }
                all.insert(all.end(), sheets.begin(), sheets.end());
            }
            CombineIfChosen(*choice, *document, s, all, "maps");
            return true;
        });
}

MakeOutcome OnMakeSolSvgs(CKibDoc* document, const MakeDialog& dialog) {
    MakeCommand command(MakeCommandKind::SolSvgs, document);
    const std::optional<MakeChoice> choice = command.Start(dialog);
    if (!choice) {
        return command.Outcome();
    }
    int stationsPerSheet = 0;
    const bool ok = RunSolutions(*document, *choice, stationsPerSheet);
    MakeOutcome outcome = command.EndSvgCommand(ok);
    outcome.stationsPerSheet = stationsPerSheet;
    return outcome;
}

MakeOutcome OnMakeSolImages(CKibDoc* document, const MakeDialog& dialog) {
    MakeCommand command(MakeCommandKind::SolImages, document);
    const std::optional<MakeChoice> choice = StartRasterCommand(command, dialog);
    if (!choice) {
        return command.Outcome();
    }
    int stationsPerSheet = 0;
    const bool ok = RunSolutions(*document, *choice, stationsPerSheet);
    return ConvertAndClose(command, *choice, ok,
                           [&](const ConversionSettings& s, Converter converter) {
                               const std::vector<int> stations =
                                   SelectedStations(*document->GetConfig(), choice->stationMask);
                               const std::vector<SheetConversion> sheets =
                                   SolutionImageSheets(s, stations, stationsPerSheet);
                               if (!ConvertSheets(sheets, s.format, converter)) {
                                   return false;
                               }
                               CombineIfChosen(*choice, *document, s, sheets, "solutions");
                               return true;
                           });
}

} // namespace kib
