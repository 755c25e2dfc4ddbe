// Writes a whole event: the map of every station, the courses file and, when asked
// for, a configuration.
#pragma once

#include "event.h"
#include "options.h"

#include <string>

namespace kib::gen {

// The SVG export of one station's map; terrain is RenderTerrain of the same options.
std::string RenderStationMap(const Event& event, const Station& station,
                             const std::string& terrain);
std::string MapFileName(const Event& event, const Station& station);
std::string CoursesFileName(const Event& event);

// Writes the files into options.outDir (created when missing). False with a message in
// error when a file cannot be written.
bool GenerateEvent(const Options& options, std::string& summary, std::string& error);

} // namespace kib::gen
