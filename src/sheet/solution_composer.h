// The solution map composer: one station's place on a solution sheet, with the
// whole decision area around the chair turned like the competition maps, every
// control circle, the flags with upright letters and control numbers, and the
// station's description table with the correct answers beside it.
#pragma once

#include <ostream>

namespace kib {

class CKibage;
class CKibDoc;
class CKibMap;

// The scale a station's solution map is drawn at: its SOLSCALE, else
// Solutions.SCALE, else the document's map scale divided by divisor (truncated).
// The composer passes the map's zoom, the screen preview 1.
int SolutionScale(const CKibDoc& doc, int station, float divisor);

// Writes the station's map, decorations and description block at the position
// of the sheet (1-based: odd the left column, even the right one; row
// (position + 1) / 2), with the solution layout computed on the surface, which
// must write into out as well. When out is still empty the sheet's header and
// heading come first. Turns the special symbols and thins the control circles
// in the map lines. False, with nothing written for the station beyond the
// header, when the chair is missing (after an error line), the station has no
// tasks or no control circle belongs to any task.
bool ComposeSolutionMap(CKibMap& map, CKibage& surface, std::ostream& out, int station,
                        int position);

} // namespace kib
