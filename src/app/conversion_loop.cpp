#include "app/conversion_loop.h"

#include "app/builtin_convert.h"
#include "app/converted_file.h"
#include "app/inkscape.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
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

bool ConvertRun(RunResult& run, const ConversionSettings& settings, Converter converter) {
    const char* extension = OutputFormatExtension(settings.format);
    RunProgress progress = ProgressOver(run);
    int lastStation = -1;
    for (RunSheet& sheet : run.sheets) {
        if (!sheet.toPrint) {
            continue;
        }
        if (CheckBreak()) {
            EndProgress();
            return false;
        }
        ++progress.sheet;
        const int station = StationOf(sheet);
        if (station >= 0 && station != lastStation) {
            ++progress.station;
            lastStation = station;
        }
        ReportProgress(progress);
        const SheetConversion conversion = ConversionOf(sheet, settings);
        if (!conversion.statusText.empty()) {
            SetStatusText(conversion.statusText);
        }
        LogTally tally;
        const bool converted = converter == Converter::BuiltIn
                                   ? ConvertBuiltIn(conversion.base, settings.format,
                                                    conversion.dpi, conversion.zSuffix)
                                   : ConvertSheet(conversion.base, settings.format, conversion.dpi,
                                                  conversion.zSuffix);
        if (converted && tally.Errors() == 0 && extension) {
            sheet.converted =
                MakeConversionFiles(conversion.base, extension, conversion.zSuffix).target;
            continue;
        }
        if (tally.Errors() == 0) {
            LogError("[** ERROR **] '%s.svg' was not converted.", conversion.base.c_str());
        }
        for (int station : sheet.stations) {
            run.Fail(station, tally);
        }
    }
    EndProgress();
    return true;
}

} // namespace kib
