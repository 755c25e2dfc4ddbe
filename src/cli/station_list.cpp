#include "cli/station_list.h"

#include "cli/cli_context.h"
#include "cli/config_path.h"
#include "config/kib_doc.h"
#include "sheet/task_range.h"

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

int OpenChosenStations(const std::string& file, const std::string& stationsText, CKibDoc& doc,
                       std::vector<int>& stations) {
    StationSet chosen;
    if (!ParseStationsOption(stationsText, chosen)) {
        return kExitUsage;
    }
    if (!OpenConfiguration(doc, file)) {
        return kExitError;
    }
    if (!CheckChoiceOption(*doc.GetConfig(), chosen, kTaskAll, file)) {
        return kExitUsage;
    }
    stations = chosen.Chosen(*doc.GetConfig());
    if (stations.empty()) {
        std::cerr << "error: No stations configured (Event.MINSTAT .. Event.MAXSTAT).\n";
        return kExitError;
    }
    return kExitOk;
}

} // namespace kib::cli
