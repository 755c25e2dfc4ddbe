#include "app/conversion_loop.h"

#include "app/builtin_workers.h"
#include "app/converted_file.h"
#include "app/inkscape.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "sheet/sheet_output.h"

#include <algorithm>

namespace kib {

ConversionSettings ReadConversionSettings(const CKibDoc& doc, OutputFormat format) {
    const CKibCfg& cfg = *doc.GetConfig();
    ConversionSettings settings;
    const std::string& mode = cfg.Item(id::Target_MODE).GetValue();
    settings.modeLetter = mode.empty() ? 'P' : mode[0];
    settings.directory = SheetDirectory(doc);
    settings.dpi = cfg.Item(id::Target_DPI).GetInt();
    settings.format = format;
    return settings;
}

SheetConversion ConversionOf(const RunSheet& sheet, const ConversionSettings& settings) {
    SheetConversion conversion;
    const std::string& svg = sheet.svg;
    conversion.base = svg.size() > 4 ? svg.substr(0, svg.size() - 4) : svg;
    conversion.dpi = settings.dpi;
    if (sheet.kind == SheetKind::Solution || sheet.stations.empty()) {
        return conversion;
    }
    const int station = sheet.stations.front();
    conversion.statusText = sheet.lastTask > sheet.firstTask
                                ? Format("Generating MAPs %d.%d - %d.%d...", station,
                                         sheet.firstTask, station, sheet.lastTask)
                                : Format("Generating MAP %d.%d...", station, sheet.firstTask);
    if (settings.modeLetter == 'W') {
        conversion.dpi = settings.dpi * 3 / 2;
        conversion.zSuffix = true;
    }
    return conversion;
}

namespace {

// The station a competition sheet shows; -1 for a solution sheet.
int StationOf(const RunSheet& sheet) {
    return sheet.kind == SheetKind::Solution || sheet.stations.empty() ? -1
                                                                       : sheet.stations.front();
}

// "sheet n of N" over the sheets that go to print, and "station s of S" over the
// stations among them (each station's sheets follow each other).
RunProgress ProgressOver(const RunResult& run) {
    RunProgress progress;
    int last = -1;
    for (const RunSheet& sheet : run.sheets) {
        if (!sheet.toPrint) {
            continue;
        }
        ++progress.sheets;
        const int station = StationOf(sheet);
        if (station >= 0 && station != last) {
            ++progress.stations;
            last = station;
        }
    }
    return progress;
}

} // namespace

namespace {

// The progress of the next sheet: "sheet n of N (station s of S)".
void StepProgress(RunProgress& progress, int& lastStation, const RunSheet& sheet) {
    ++progress.sheet;
    const int station = StationOf(sheet);
    if (station >= 0 && station != lastStation) {
        ++progress.station;
        lastStation = station;
    }
    ReportProgress(progress);
}

void ShowStatus(const SheetConversion& conversion) {
    if (!conversion.statusText.empty()) {
        SetStatusText(conversion.statusText);
    }
}

// Records a converted sheet's file in the run, or fails the stations it shows
// with the lines its conversion logged (the tally opened around it).
void Record(RunResult& run, RunSheet& sheet, const SheetConversion& conversion,
            const char* extension, bool converted, const LogScope& tally) {
    if (converted && tally.Errors() == 0 && extension) {
        sheet.converted =
            MakeConversionFiles(conversion.base, extension, conversion.zSuffix).target;
        return;
    }
    if (tally.Errors() == 0) {
        App().Log().Error("'%s.svg' was not converted.", conversion.base.c_str());
    }
    for (int station : sheet.stations) {
        run.Fail(station, tally);
    }
}

// The built-in converter: the sheets drawn on the workers, announced when they
// are handed out and recorded in the sheets' order.
bool ConvertRunBuiltIn(RunResult& run, const ConversionSettings& settings, StopRequest& stop,
                       int workers) {
    const char* extension = OutputFormatExtension(settings.format);
    std::vector<RunSheet*> printed;
    std::vector<SheetConversion> conversions;
    for (RunSheet& sheet : run.sheets) {
        if (sheet.toPrint) {
            printed.push_back(&sheet);
            conversions.push_back(ConversionOf(sheet, settings));
        }
    }
    RunProgress progress = ProgressOver(run);
    int lastStation = -1;
    const bool completed = ConvertBuiltInSheets(
        conversions, settings.format, stop,
        [&](std::size_t i) {
            StepProgress(progress, lastStation, *printed[i]);
            ShowStatus(conversions[i]);
        },
        [&](std::size_t i, SheetDrawing& drawing) {
            LogScope tally;
            const bool converted = ReportDrawing(drawing);
            Record(run, *printed[i], conversions[i], extension, converted, tally);
        },
        workers);
    EndProgress();
    return completed;
}

} // namespace

bool ConvertRun(RunResult& run, const ConversionSettings& settings, Converter converter,
                StopRequest& stop, int workers) {
    if (converter == Converter::BuiltIn) {
        return ConvertRunBuiltIn(run, settings, stop, workers);
    }
    const char* extension = OutputFormatExtension(settings.format);
    RunProgress progress = ProgressOver(run);
    int lastStation = -1;
    for (RunSheet& sheet : run.sheets) {
        if (!sheet.toPrint) {
            continue;
        }
        if (stop.Requested()) {
            EndProgress();
            return false;
        }
        StepProgress(progress, lastStation, sheet);
        const SheetConversion conversion = ConversionOf(sheet, settings);
        ShowStatus(conversion);
        LogScope tally;
        const bool converted =
            ConvertSheet(conversion.base, settings.format, conversion.dpi, conversion.zSuffix);
        Record(run, sheet, conversion, extension, converted, tally);
    }
    EndProgress();
    return true;
}

} // namespace kib
