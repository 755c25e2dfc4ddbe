// Edits of map lines and symbol instances for the sheets: hiding and showing
// line ranges, recolouring, thinning and wrapping objects in rotation groups.
// Every edit leaves a debug line.
#pragma once

#include "map_input/map_line.h"
#include "map_input/map_point.h"
#include "map_input/symbol_instance.h"

#include <ostream>
#include <string>

namespace kib {

class Diagnostics;

// Hides every line from first through last (last must be first or follow it).
void HideLines(MapLine* first, MapLine* last, Diagnostics& diagnostics);
void SetLinesHidden(MapLine* first, MapLine* last, bool hidden, Diagnostics& diagnostics);
// Writes prefix + text + "\r\n" for every line of the instance, hidden or not.
void WriteLines(const SymbolInstance& inst, const std::string& prefix, std::ostream& out);
// Replaces the first "rgb(...)" of the line by the colour text.
void Recolour(MapLine& line, const std::string& colour, Diagnostics& diagnostics);
// Replaces the stroke width on the instance's first line.
void Thin(const SymbolInstance& inst, float width, Diagnostics& diagnostics);
// Wraps each instance from first on in a rotation about the centre of its
// bundle of g instances.
bool RotateBundles(SymbolInstance* first, int angle, int g, Diagnostics& diagnostics);
// Wraps first and every instance after it in a rotation about first's reference point.
void RotateAllAboutFirst(SymbolInstance* first, int angle, Diagnostics& diagnostics);
void TracePoint(MapPoint p, const char* label, Diagnostics& diagnostics);

} // namespace kib
