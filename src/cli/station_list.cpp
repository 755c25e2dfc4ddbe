#include "cli/station_list.h"

#include <iostream>

namespace kib::cli {

bool ParseStationsOption(const std::string& text, StationSet& stations) {
    stations = StationSet::Every();
    std::string error;
    if (!text.empty() && !StationSet::Parse(text, stations, error)) {
        std::cerr << "error: --stations: " << error << "\n";
        return false;
    }
    return true;
}

bool CheckChoiceOption(const CKibCfg& cfg, const StationSet& stations, int taskChoice,
                       const std::string& file) {
    std::string error;
    if (!stations.CheckRange(cfg, error)) {
        std::cerr << "error: --stations: " << error << " of " << file << "\n";
        return false;
    }
    if (!stations.CheckTask(cfg, taskChoice, error)) {
        std::cerr << "error: --task: " << error << " in " << file << "\n";
        return false;
    }
    return true;
}

} // namespace kib::cli
