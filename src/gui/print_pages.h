// Which PNG file each printed page shows: the competition maps of the chosen
// stations and tasks, one print-sheet (or map) file per page.
#pragma once

#include "app/make_command.h"

#include <string>
#include <vector>

namespace kib {
class CKibCfg;
}

namespace kib::gui {

// The full path of the PNG file of page k (k >= 1) in the print directory, or
// the empty text when the selection has fewer than k pages. canvasesPerSheet
// is the tiling of the last SVG run (0 when sheets are not tiled).
std::string PageFileName(const CKibCfg& cfg, const std::string& printDir, int canvasesPerSheet,
                         const MakeChoice& choice, int k);

// Every page's file in page order.
std::vector<std::string> PageFiles(const CKibCfg& cfg, const std::string& printDir,
                                   int canvasesPerSheet, const MakeChoice& choice);

} // namespace kib::gui
