// Name templates with ${STAT}, ${TASK}, ${EVENT}, ${COURSE}; output file names;
// detection of the course name format from an exported map file name.
#pragma once

#include <string>

namespace kib {

class CKibCfg;

// The item's effective value with its placeholders replaced; empty for an unknown
// id or for ${TASK} with task 0 (after an error line).
std::string EvalTemplate(const CKibCfg& cfg, int itemId, int station, int task);

// directory + "map-S.T" (canvasesPerSheet 0) or the print-sheet name, + "." + extension.
// The directory gets a separator appended when it is not empty and lacks one.
std::string MakeOutputName(const CKibCfg& cfg, const std::string& directory, int station, int task,
                           int canvasesPerSheet, const char* extension = nullptr);
std::string MakeSolutionName(const std::string& directory, int firstStation, int lastStation,
                             const char* extension = nullptr);

// Sets Event.NAME, Source.COURSE, Source.MAP and possibly Event.NUMFMT from one
// exported map file name; returns station * 100, or -1 for one of Kib's own outputs.
int DetectCourseFormat(CKibCfg& cfg, const std::string& fileName);

} // namespace kib
