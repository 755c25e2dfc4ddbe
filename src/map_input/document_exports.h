// What a document reads from its exports outside a run: the map scale of the
// courses file and the zoom of the first station's map. Read after every load
// and at the start of every Make command.
#pragma once

#include <string>
#include <vector>

namespace kib {

class CKibDoc;

// The courses named in the courses file.
struct CourseList {
    bool read = false; // the file could be read and is well-formed XML
    std::vector<std::string> names;
};

// Reads the courses file for the map scale (the document's mapScale) and the
// names of its courses (UTF-8).
CourseList ReadCourseList(CKibDoc& doc);
// Reads the first station's map that can be opened for its zoom (the document's mapZoom).
void ReadMapZoom(CKibDoc& doc);

} // namespace kib
