// The --stations and --task options as every verb that has them reads them:
// the station list ("1,3-5") parsed into a StationSet and the choice checked
// against the configuration, both by the one check of the core.
#pragma once

#include "config/station_set.h"

#include <string>
#include <vector>

namespace kib {
class CKibDoc;
}

namespace kib {
class CKibCfg;
}

namespace kib::cli {

// The stations of a --stations option: every station for an empty text, else
// the parsed list. False, with the message on standard error, for bad text.
bool ParseStationsOption(const std::string& text, StationSet& stations);

// The choice checked against the configuration of file (CheckChoice). False,
// with the message on standard error, when a station lies outside its range or
// the task beyond a station's tasks: a usage error.
bool CheckChoiceOption(const CKibCfg& cfg, const StationSet& stations, int taskChoice,
                       const std::string& file);

// The configuration file and the stations a verb that reads each chosen station
// works on (--stations, every station when empty). 0 with the stations in
// order; else the exit status, after the message: 64 for a bad choice, 2 when
// the file does not open or names no station.
int OpenChosenStations(const std::string& file, const std::string& stationsText, CKibDoc& doc,
                       std::vector<int>& stations);

} // namespace kib::cli
