// Make Raster Maps, Make Vector Solutions and Make Raster Solutions: the SVG run
// of their kind and, for the raster commands, the conversion of every sheet the
// run made by Inkscape, each command closed by its message box.
#include "app/conversion_loop.h"
#include "app/inkscape.h"
#include "app/make_command.h"
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

// The conversion loop of a raster command; false when a stop was requested.
using ConversionLoop = std::function<bool(const ConversionSettings&)>;

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

// What a raster command does after its SVG run: finds Inkscape, converts the
// sheets and shows the closing box. Errors of the SVG run no longer count then,
// its warnings still do.
MakeOutcome ConvertAndClose(MakeCommand& command, OutputFormat format, bool svgSucceeded,
                            const ConversionLoop& loop) {
    if (!svgSucceeded) {
        return Fail(command, "SVG files creation failed.");
    }
    SetStatusText(command.Texts().convertStatus);
    CKibDoc& doc = *command.Document();
    if (!DetectInkscape(*doc.GetConfig())) {
        return Fail(command, kImagesFailed);
    }
    App().errorFlag = false;
    if (!loop(ReadConversionSettings(doc, format))) {
        return Fail(command, kImagesFailed);
    }
    command.StopRunning();
    LogInfo("Image files creation completed.");
    return command.Close(false, "Image files creation failed!\nSee the Output Window for details.",
                         "Image files created with some warnings!\nSee the Output Window for "
                         "details.",
                         "Image files created.");
}

bool RunCompetition(CKibDoc& doc, const MakeChoice& choice) {
    CKibSvg svg(doc);
    CompetitionRun run(svg);
    return run.GenerateCompetitionSvg(choice.stationMask, choice.taskChoice);
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
    const bool ok = RunCompetition(*document, *choice);
    return ConvertAndClose(command, choice->outputFormat, ok, [&](const ConversionSettings& s) {
        const CKibCfg& cfg = *document->GetConfig();
        for (int n : SelectedStations(cfg, choice->stationMask)) {
            if (cfg.GetTasks(n) == 0) {
                LogWarning("[= WARNING =] Task number undefined for station %d", n);
            }
            const std::vector<SheetConversion> sheets =
                MapImageSheets(cfg, s, n, choice->taskChoice, document->canvasesPerSheet);
            if (!ConvertSheets(sheets, s.format)) {
                return false;
            }
        }
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
    return command.EndSvgCommand(ok);
}

MakeOutcome OnMakeSolImages(CKibDoc* document, const MakeDialog& dialog) {
    MakeCommand command(MakeCommandKind::SolImages, document);
    const std::optional<MakeChoice> choice = StartRasterCommand(command, dialog);
    if (!choice) {
        return command.Outcome();
    }
    int stationsPerSheet = 0;
    const bool ok = RunSolutions(*document, *choice, stationsPerSheet);
    return ConvertAndClose(command, choice->outputFormat, ok, [&](const ConversionSettings& s) {
        const std::vector<int> stations =
            SelectedStations(*document->GetConfig(), choice->stationMask);
        return ConvertSheets(SolutionImageSheets(s, stations, stationsPerSheet), s.format);
    });
}

} // namespace kib
