// The competition map composer: the content of one canvas of a station's map,
// for a task the rotated map segment around the task's control circle with the
// task's description row and the decorations, for task 0 the station's cover.
#pragma once

#include <ostream>
#include <string>

namespace kib {

class CKibage;
class CKibMap;

// Canvas positions: 0 a stand-alone map document, 1 to 4 the upper-left,
// upper-right, lower-left and lower-right canvas of a print sheet.
inline constexpr int kCornerAlone = 0;

// Writes the canvas of the task (0: the cover canvas) into out, with the layout
// computed for the station on the surface, which must write into out as well.
// Changes the hidden flags and colours of the map lines for the task. False
// (after an error line) only when no control circle belongs to the task; out then
// ends in the middle of the canvas.
bool ComposeCompetitionMap(CKibMap& map, CKibage& surface, std::ostream& out, int station, int task,
                           int corner);

// The row of the exported description table that holds task t: counted from the
// first row of the run of control rows the description analysis found (row r0
// holds task 1), or literalRow when it found none.
int TaskDescriptionRow(const CKibMap& map, int task, int literalRow);

// Whether the export's prologue (the lines before its <svg line) declares the
// entity, as OCAD's exports declare the line style "stR" that the description
// borders refer to.
bool ExportDeclaresEntity(const CKibMap& map, const char* name);

// The attributes of a description border's stroke group for a stroke width text
// such as "0.50": the export's line style entity is referred to only when the
// export declares it, so that a sheet never names an undeclared entity.
std::string BorderStrokeGroup(const CKibMap& map, const char* width);

} // namespace kib
