// What both sheet composers take from a map export as it is: the measured
// control description table and the map's own content lines.
#pragma once

#include "sheet/text_cell.h"

#include <ostream>
#include <string>

namespace kib {

class CKibMap;

// The description table as the composers draw it, in map units. A table that
// the analysis could not measure is replaced by a plain row of eight unit cells,
// so that the task number and the borders still come out at the cell size and
// nothing is divided by zero.
struct DescGeometry {
    float left = 0.0f, top = 0.0f, width = 8.0f, rowHeight = 1.0f;
    float c0 = 0.0f, c1 = 1.0f, c2 = 2.0f;
};

DescGeometry MeasuredTable(const CKibMap& map);

// Line number of the export's closing svg tag line, found from the end so that
// anything after that tag does not count; the line count when there is none.
int ClosingSvgLine(const CKibMap& map);

// The map's own lines that are not hidden, without the export's frame: its
// scale group line and closing lines, or its closing svg line.
void WriteMapBody(const CKibMap& map, std::ostream& out);

// A cell of the description row in map units, written in the description colour
// of the export and the given font family, with the surface's default size and
// centred alignment.
TextCellF DescriptionCell(const CKibMap& map, const std::string& fontFamily, float x1, float y1,
                          float x2, float y2, const std::string& text);

} // namespace kib
