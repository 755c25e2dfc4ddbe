// The conversion loop of the raster Make commands: the sheets their run made
// that go to print, turned one by one into PDF, PS, EPS or PNG files with the
// resolution and status text of their kind.
#pragma once

#include "app/converter.h"
#include "app/output_format.h"
#include "sheet/run_result.h"

#include <string>
#include <vector>

namespace kib {

class StopRequest;

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
};

// How a sheet of a run is converted: competition sheets in WEB mode at one and a
// half times the resolution into the "z" files, solution sheets never enlarged;
// the status names the station and the tasks on a competition sheet.
SheetConversion ConversionOf(const RunSheet& sheet, const ConversionSettings& settings);

// Converts the sheets of the run that go to print, in order, with the converter
// (Inkscape must have been detected), polling for a stop before each; the
// built-in converter draws them on every core (builtin_workers.h), and records
// and logs them in the same order. Each
// sheet's converted file is recorded in the run; a sheet that could not be
// converted fails the stations it shows, with the lines that say why. False
// when a stop was requested. workers: how many sheets the built-in converter
// draws at once (0: BuiltInWorkers); the output does not depend on it.
// stop is polled before each sheet.
bool ConvertRun(RunResult& run, const ConversionSettings& settings, Converter converter,
                StopRequest& stop, int workers = 0);

} // namespace kib
