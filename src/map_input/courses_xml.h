// The IOF XML courses file (CourseData of the data standard 3.0 or 2.0.3) read by
// its element structure, whatever program wrote it: OCAD, Purple Pen, OpenOrienteering
// Mapper, Condes, ... Indentation, line breaks, attribute order, comments, CDATA
// sections, a byte order mark and namespace prefixes do not matter; element texts
// are taken without surrounding white space. The file's declared encoding is
// converted to UTF-8 before the parse (UTF-16, ISO-8859-1, Windows code pages; bytes
// that are not UTF-8 are read as the text codec reads them).
#pragma once

#include "foundation/file_stamp.h"
#include "map_input/map_point.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kib {

// A control or start point defined in the file (Control with Id or ControlCode,
// StartPoint with StartPointCode).
struct CourseDefinition {
    std::string code;
    bool hasMapPosition = false; // a MapPosition with numbers x and y
    MapPoint mapPosition;        // as written: y points up
    bool hasGeoPosition = false; // a geographic Position (3.0) or ControlPosition (2.0.3)
};

// One entry of a course in course order: a CourseControl (3.0: its Control, 2.0.3:
// its ControlCode), or the StartPointCode of a 2.0.3 course.
struct CourseStep {
    std::string code;
    bool start = false;  // type "Start" (3.0) or a StartPointCode (2.0.3)
    bool finish = false; // type "Finish" (3.0); 2.0.3 names its finish outside the course controls
};

// A course of the file as the courses list shows it.
struct CourseEntry {
    std::string name;
    int line = 0; // line of its Course element, counted from 1
};

// What a station needs of one course, taken from the file when asked for.
struct CourseContent {
    int variations = 0; // CourseVariation elements (2.0.3); steps are only read for one
    std::vector<CourseStep> steps;
    // The definitions beside the course (in its RaceCourseData, or in the whole 2.0.3
    // file), in file order.
    std::vector<CourseDefinition> definitions;
};

struct CoursesFileData {
    // The file it was read from, its size and time: while they stay, the file need
    // not be read again.
    std::string path;
    std::int64_t size = -1;
    FileStamp stamp = 0;
    std::uint64_t digest = 0; // of the bytes as read (DigestOf), for the runs' records

    bool wellFormed = false;
    int errorLine = 0;                // when not well-formed: the line the parser stopped at
    std::string errorText;            // and its reason
    int lines = 0;                    // lines of the file
    std::string creator;              // the root's creator attribute (3.0), empty when none
    bool scaleFound = false;          // a Map element with a Scale
    std::string scaleText;            // the text of the last one
    std::vector<CourseEntry> courses; // in file order

    // The parsed file, kept for the courses' contents.
    struct Parsed;
    std::shared_ptr<const Parsed> parsed;
};

// Reads the file's bytes.
CoursesFileData ReadCoursesXml(std::string bytes);

// The first course of that name (compared exactly, both made UTF-8), -1 when there
// is none.
int FindCourse(const CoursesFileData& file, const std::string& name);

// The content of course k of a well-formed file.
CourseContent ReadCourse(const CoursesFileData& file, int k);

} // namespace kib
