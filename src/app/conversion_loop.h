// The conversion loops of the raster Make commands: which SVG sheets Make Map
// Images and Make Sol Images turn into PDF, PS, EPS or PNG files, with what
// resolution and status text, and the loop that converts them one by one.
#pragma once

#include "app/converter.h"
#include "app/output_format.h"
#include "sheet/run_stations.h"

#include <string>
#include <vector>

namespace kib {

class CKibCfg;
class CKibDoc;

// What every sheet of one raster command shares.
struct ConversionSettings {
    char modeLetter = 'P'; // first letter of Target.MODE: P(RT), A(NT) or W(EB)
    std::string directory; // the output directory, ending with "/" (empty: the current one)
    int dpi = 0;           // Target.DPI
    OutputFormat format = OutputFormat::None;
};

// The settings of a document for a chosen format.
ConversionSettings ReadConversionSettings(const CKibDoc& doc, OutputFormat format);

// One sheet to convert: its SVG is base + ".svg".
struct SheetConversion {
    std::string base;
    std::string statusText; // shown while it is converted; empty leaves the status text
    int dpi = 0;
    bool zSuffix = false; // the converted file is base + "z." + extension
    int station = -1;     // the station of a competition sheet; -1 for a solution sheet
};

// Make Map Images: the sheets of station n for the task choice (-1 every task,
// 0 the cover, t task t; no sheet for any other choice) with canvasesPerSheet
// canvases on a print sheet (0: map sheets, one per task). With print sheets,
// every sheet holding a chosen task is converted once. WEB mode converts at one
// and a half times the resolution into the "z" files.
std::vector<SheetConversion> MapImageSheets(const CKibCfg& cfg, const ConversionSettings& settings,
                                            int station, int taskChoice, int canvasesPerSheet);

// Make Sol Images: one sheet per group of stationsPerSheet chosen stations, named
// after its first and last station ("sol-a" alone in WEB mode).
std::vector<SheetConversion> SolutionImageSheets(const ConversionSettings& settings,
                                                 const std::vector<int>& stations,
                                                 int stationsPerSheet);

// Converts the sheets in order with the converter (Inkscape must have been
// detected), polling for a stop before each and reporting "sheet n of N" (and
// the station, for competition sheets) before each. False when a stop was
// requested; conversion problems are in the log (ErrorFlag).
bool ConvertSheets(const std::vector<SheetConversion>& sheets, OutputFormat format,
                   Converter converter = Converter::Inkscape);

} // namespace kib
