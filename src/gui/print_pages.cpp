#include "gui/print_pages.h"

#include "config/kib_cfg.h"
#include "config/name_templates.h"
#include "sheet/task_range.h"

#include <algorithm>

namespace kib::gui {

std::vector<std::string> PageFiles(const CKibCfg& cfg, const std::string& printDir,
                                   int canvasesPerSheet, const MakeChoice& choice) {
    std::vector<std::string> files;
    const int g = canvasesPerSheet;
    for (int n : choice.stations.Chosen(cfg)) {
        const int tasks = cfg.GetTasks(n);
        if (tasks <= 0) {
            continue;
        }
        const TaskRange pages =
            WholePrintSheets(ChosenTasks(choice.taskChoice, 0, tasks), g, tasks);
        for (int t = pages.first; t <= pages.last; t += std::max(g, 1)) {
            files.push_back(MakeOutputName(cfg, printDir, n, t, g, "png"));
        }
    }
    return files;
}

std::string PageFileName(const CKibCfg& cfg, const std::string& printDir, int canvasesPerSheet,
                         const MakeChoice& choice, int k) {
    const std::vector<std::string> files = PageFiles(cfg, printDir, canvasesPerSheet, choice);
    if (k < 1 || k > static_cast<int>(files.size())) {
        return {};
    }
    return files[static_cast<std::size_t>(k - 1)];
}

} // namespace kib::gui
