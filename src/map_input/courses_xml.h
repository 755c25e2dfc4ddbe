// The IOF XML courses file (CourseData of the data standard 3.0 or 2.0.3) read by
// its element structure, whatever program wrote it: OCAD, Purple Pen, OpenOrienteering
// Mapper, Condes, ... Indentation, line breaks, attribute order, comments, CDATA
// sections, a byte order mark and namespace prefixes do not matter; element texts
// are taken without surrounding white space. The file's declared encoding is
// converted to UTF-8 before the parse (UTF-16, ISO-8859-1, Windows code pages; bytes
// that are not UTF-8 are read as the text codec reads them).
#pragma once

#include "map_input/map_point.h"

#include <string>
#include <vector>

namespace kib {

// A control, start or finish point defined in the file (Control with Id or
// ControlCode, StartPoint with StartPointCode).
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
    bool start = false; // type "Start" (3.0) or a StartPointCode (2.0.3)
};

// The course looked for, with the definitions that belong to it: the Control and
// StartPoint elements beside it (in its RaceCourseData, or in the whole 2.0.3 file).
struct CourseRecord {
    std::string name;
    int line = 0;       // line of its Course element, counted from 1
    int variations = 0; // CourseVariation elements (2.0.3); their steps are only read for one
    std::vector<CourseStep> steps;
    std::vector<CourseDefinition> definitions; // in file order
};

struct CoursesXml {
    bool wellFormed = false;
    int errorLine = 0;                    // when not well-formed: the line the parser stopped at
    std::string errorText;                // and its reason
    int lines = 0;                        // lines of the file
    std::string creator;                  // the root's creator attribute (3.0), empty when none
    std::vector<std::string> courseNames; // every course in file order
    bool scaleFound = false;              // a Map element with a Scale
    std::string scaleText;                // the text of the last one
    bool courseFound = false;
    CourseRecord course; // the first course named as asked, when found
};

// Reads the file's bytes. With a course name, also the first course of that name
// (compared exactly, after both are made UTF-8) with its steps and definitions;
// the steps of a course with several variations are not read.
CoursesXml ReadCoursesXml(std::string bytes, const std::string& courseName = std::string());

} // namespace kib
