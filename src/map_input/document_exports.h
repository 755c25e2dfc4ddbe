// What a document reads from its exports outside a run: the map scale of the
// courses file and the zoom of the first station's map. Read after every load
// and at the start of every Make command.
#pragma once

#include "foundation/content_digest.h"
#include "foundation/file_stamp.h"

#include <memory>
#include <string>
#include <vector>

namespace kib {

class CKibDoc;
struct CoursesFileData;

// The courses named in the courses file.
struct CourseList {
    bool read = false; // the file could be read and is well-formed XML
    std::vector<std::string> names;
};

// Reads the courses file for the map scale (the document's mapScale) and the
// names of its courses (UTF-8).
CourseList ReadCourseList(CKibDoc& doc);
// The document's copy of the courses file while the file at path keeps its size
// and time (asked of the file system without opening the file), else none.
std::shared_ptr<const CoursesFileData> KeptCourses(const CKibDoc& doc, const std::string& path);

// What an input of a run holds now, its size and the digest of its bytes, for the
// runs' records: from the document's copy of the courses file or of the last map
// export while the file is unchanged, else read whole into the document's copy of
// the export, so that the station's map is then parsed from that one read.
// stamp: the file's time as digested, 0 when not known.
ContentFacts InputContentFacts(CKibDoc& doc, const std::string& path, FileStamp& stamp);

// Reads the first station's map that can be opened for its zoom (the document's mapZoom).
void ReadMapZoom(CKibDoc& doc);

} // namespace kib
