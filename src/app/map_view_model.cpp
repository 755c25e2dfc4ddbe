#include "app/map_view_model.h"

#include "foundation/app_state.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "foundation/file_stamp.h"
#include "sheet/run_result.h"

#include <algorithm>

namespace kib {

void KeepMapsRun(CKibDoc& doc, const RunResult& run) {
    doc.mapsRun = std::make_shared<const RunResult>(run);
}

std::vector<MapViewItem> MapViewSequence(const CKibDoc& doc) {
    std::vector<MapViewItem> items;
    if (!doc.mapsRun) {
        return items;
    }
    for (const RunSheet& sheet : doc.mapsRun->sheets) {
        if (sheet.kind == SheetKind::Map && !sheet.stations.empty()) {
            items.push_back({sheet.stations.front(), sheet.firstTask, sheet.svg});
        }
    }
    std::stable_sort(items.begin(), items.end(), [](const MapViewItem& a, const MapViewItem& b) {
        return a.station != b.station ? a.station < b.station : a.task < b.task;
    });
    return items;
}

std::string MapViewEmptyNote(const CKibDoc& doc) {
    if (!doc.mapsRun) {
        return "No competition maps made yet: run Make Vector Maps, and the view shows the "
               "sheets it makes.";
    }
    return "The last Make Vector Maps run made no competition map: see the Output Window.";
}

std::string MapSheetNote(const CKibDoc& doc, const MapViewItem& item) {
    FileStamp made = 0;
    if (!GetFileStamp(item.sheet, made, App().Log())) {
        return "The sheet " + item.sheet + " is gone: run Make Vector Maps again.";
    }
    const CKibCfg* cfg = doc.GetConfig();
    if (!cfg) {
        return std::string();
    }
    const struct {
        std::string file;
        const char* what;
    } sources[] = {
        {doc.GetPathName(), "the configuration"},
        {doc.MakePath(EvalTemplate(*cfg, id::Source_MAP, item.station, 1)),
         "the station's map export"},
        {doc.MakePath(EvalTemplate(*cfg, id::Source_COURSES, 1, 0)), "the courses file"},
    };
    for (const auto& source : sources) {
        FileStamp changed = 0;
        if (GetFileStamp(source.file, changed, App().Log()) && changed > made) {
            return std::string("The sheet is older than ") + source.what +
                   ": run Make Vector Maps again before printing.";
        }
    }
    return std::string();
}

} // namespace kib
