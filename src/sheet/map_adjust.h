// Adjustments of a station's map lines before a sheet copies them: hiding the
// symbols the competitor must not see, hiding what lies far outside the map
// segment, recolouring a symbol and darkening the vegetation greens. They work
// on the hidden flags and texts of the map lines and stay in the map for the
// next sheet of the same station.
#pragma once

#include "map_input/symbol_id.h"

#include <string>

namespace kib {

class CKibMap;
struct SheetLayout;

// Hides every instance of count consecutive minors from the id's minor (every
// minor when it is -1) whose first line is not hidden yet. An invalid id or 0.0
// does nothing.
void HideSymbol(CKibMap& map, const SymbolId& id, int count);

// Replaces the first rgb colour of every line from the group line of each of
// count minors from the id's minor (every minor when -1) to the last line of its
// last instance by the colour text.
void SetSymbolColour(CKibMap& map, const SymbolId& id, const std::string& colour, int count);

// The four vegetation greens, each "(r,g,b)" as it follows "rgb" in a map line.
inline constexpr const char* kVegetationGreens[4] = {"(36,255,23)", "(61,255,23)", "(138,255,115)",
                                                     "(194,255,186)"};
// Darkens the four greens by percent (above 100 counts as 100; 0 or less does
// nothing) in every map line, hidden or not.
void DarkenGreens(CKibMap& map, int percent);

// Hides the regular map objects (majors 100 .. 699) that cannot touch the map
// segment around the control point (x, y) in map units, and shows again those
// within reach that an earlier sheet hid. An object is left out only when
// everything it draws (its drawn extent, with curves, radius and stroke) lies
// farther from the point than the segment reaches; an object whose extent is
// unknown is always drawn. forceSquare treats a circular segment as a square one
// around the point; offset is the vertical shift of the map under its segment
// (the station's MAPOFFSET), in millimetres.
void ReduceToSegment(CKibMap& map, const SheetLayout& layout, float x, float y, bool forceSquare,
                     int offset = 0);

} // namespace kib
