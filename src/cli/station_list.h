// The --stations and --task options as every verb that has them reads them:
// the station list ("1,3-5") parsed into a StationSet and the choice checked
// against the configuration, both by the one check of the core.
#pragma once

#include "config/station_set.h"

#include <string>

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

} // namespace kib::cli
