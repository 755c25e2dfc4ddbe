#include "app/conversion_loop.h"

#include "app/builtin_convert.h"
#include "app/inkscape.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "sheet/map_generation.h"

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

std::vector<SheetConversion> MapImageSheets(const CKibCfg& cfg, const ConversionSettings& settings,
                                            int station, int taskChoice, int canvasesPerSheet) {
    std::vector<SheetConversion> sheets;
    const int tasks = cfg.GetTasks(station);
    const int g = canvasesPerSheet;
    // ANT mode has no cover sheet; kTaskNone converts nothing (the stations were
    // only read and laid out).
    const TaskRange chosen = WholePrintSheets(
        ChosenTasks(taskChoice, settings.modeLetter == 'A' ? 1 : 0, tasks), g, tasks);
    const bool web = settings.modeLetter == 'W';
    for (int t = chosen.first; t <= chosen.last; t += std::max(g, 1)) {
        SheetConversion sheet;
        // The status names the tasks the print sheet holds: up to g, the last
        // task of the station alone on its sheet.
        const int lastOnSheet = g != 0 ? std::min(t + g - 1, tasks) : t;
        sheet.statusText = lastOnSheet > t ? Format("Generating MAPs %d.%d - %d.%d...", station, t,
                                                    station, lastOnSheet)
                                           : Format("Generating MAP %d.%d...", station, t);
        sheet.base = MakeOutputName(cfg, settings.directory, station, t, g);
        sheet.dpi = web ? settings.dpi * 3 / 2 : settings.dpi;
        sheet.zSuffix = web;
        sheet.station = station;
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

std::vector<SheetConversion> SolutionImageSheets(const ConversionSettings& settings,
                                                 const std::vector<int>& stations,
                                                 int stationsPerSheet) {
    std::vector<SheetConversion> sheets;
    const bool web = settings.modeLetter == 'W';
    const std::size_t g = static_cast<std::size_t>(web ? 1 : std::max(stationsPerSheet, 1));
    for (std::size_t i = 0; i < stations.size(); i += g) {
        const int second = web ? -1 : stations[std::min(stations.size() - 1, i + g - 1)];
        SheetConversion sheet;
        sheet.base = MakeSolutionName(settings.directory, stations[i], second);
        sheet.dpi = settings.dpi;
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

namespace {

// The number of stations whose sheets are listed (each station's sheets follow
// each other).
int StationsOf(const std::vector<SheetConversion>& sheets) {
    int stations = 0;
    int last = -1;
    for (const SheetConversion& sheet : sheets) {
        if (sheet.station >= 0 && sheet.station != last) {
            ++stations;
            last = sheet.station;
        }
    }
    return stations;
}

} // namespace

bool ConvertSheets(const std::vector<SheetConversion>& sheets, OutputFormat format,
                   Converter converter) {
    RunProgress progress;
    progress.sheets = static_cast<int>(sheets.size());
    progress.stations = StationsOf(sheets);
    int lastStation = -1;
    for (const SheetConversion& sheet : sheets) {
        if (CheckBreak()) {
            EndProgress();
            return false;
        }
        ++progress.sheet;
        if (sheet.station >= 0 && sheet.station != lastStation) {
            ++progress.station;
            lastStation = sheet.station;
        }
        ReportProgress(progress);
        if (!sheet.statusText.empty()) {
            SetStatusText(sheet.statusText);
        }
        if (converter == Converter::BuiltIn) {
            ConvertBuiltIn(sheet.base, format, sheet.dpi, sheet.zSuffix);
        } else {
            ConvertSheet(sheet.base, format, sheet.dpi, sheet.zSuffix);
        }
    }
    EndProgress();
    return true;
}

} // namespace kib
