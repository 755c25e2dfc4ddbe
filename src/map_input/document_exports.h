// What a document reads from its exports outside a run: the map scale of the
// courses file and the zoom of the first station's map. Read after every load
// and at the start of every Make command.
#pragma once

namespace kib {

class CKibDoc;

// Reads the courses file for the map scale (the document's mapScale).
void ReadCourseList(CKibDoc& doc);
// Reads the first station's map that can be opened for its zoom (the document's mapZoom).
void ReadMapZoom(CKibDoc& doc);

} // namespace kib
