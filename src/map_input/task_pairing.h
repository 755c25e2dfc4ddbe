// Every task of a station on its own course control, control circle and row of
// the control descriptions. A course that lacks a control shifts every later
// task onto the next control's circle under the previous control's row, and a
// course with one control too many does the same the other way: the maps would
// look right and be wrong. So the pairing is proven before anything is drawn.
#pragma once

namespace kib {

class CKibMap;
class CKibSvg;

// Whether the tasks of the station's map, read and analysed with the course
// data of svg (ReadCourses, then ReadMap), pair one to one with the controls of
// its course (a finish is never a task), the control rows of its description
// table and its circles, whatever its task count. When they do not, one error
// line names the course, the counts and the circle or control without a
// partner, and the result is false.
bool CheckTaskPairing(const CKibSvg& svg, const CKibMap& map, int station);

} // namespace kib
