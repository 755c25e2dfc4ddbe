#include "cli/station_list.h"

#include <iostream>

namespace kib::cli {

bool ParseStationsOption(const std::string& text, StationSet& stations) {
    stations = StationSet::Every();
    std::string error;
    if (!text.empty() && !StationSet::Parse(text, stations, error)) {
        std::cerr << "kib: --stations: " << error << "\n";
        return false;
    }
    return true;
}

bool CheckChoiceOption(const CKibCfg& cfg, const StationSet& stations, int taskChoice,
                       const std::string& file) {
    std::string error;
    if (!stations.CheckRange(cfg, error)) {
        std::cerr << "kib: --stations: " << error << " of " << file << "\n";
        return false;
    }
    if (!stations.CheckTask(cfg, taskChoice, error)) {
        std::cerr << "kib: --task: " << error << " in " << file << "\n";
        return false;
    }
    return true;
}

} // namespace kib::cli
