#include "app/map_view_model.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "foundation/file_stamp.h"
#include "sheet/sheet_output.h"

namespace kib {

std::vector<MapViewItem> MapViewSequence(const CKibDoc& doc) {
    std::vector<MapViewItem> items;
    const CKibCfg* cfg = doc.GetConfig();
    if (!cfg) {
        return items;
    }
    for (int s = cfg->GetMinStation(); s <= cfg->GetMaxStation(); ++s) {
        const int tasks = cfg->Station(s) ? cfg->GetTasks(s) : 0;
        for (int t = 0; t <= tasks; ++t) {
            items.push_back({s, t});
        }
    }
    return items;
}

std::string MapSheetPath(const CKibDoc& doc, const MapViewItem& item) {
    return SheetDirectory(doc) + "map-" + std::to_string(item.station) + "." +
           std::to_string(item.task) + ".svg";
}

std::string MapSheetNote(const CKibDoc& doc, const MapViewItem& item) {
    const std::string sheet = MapSheetPath(doc, item);
    FileStamp made = 0;
    if (!GetFileStamp(sheet, made)) {
        return "No sheet " + sheet + " yet: run Make Vector Maps.";
    }
    const CKibCfg& cfg = *doc.GetConfig();
    const struct {
        std::string file;
        const char* what;
    } sources[] = {
        {doc.GetPathName(), "the configuration"},
        {doc.MakePath(EvalTemplate(cfg, id::Source_MAP, item.station, 1)),
         "the station's map export"},
        {doc.MakePath(EvalTemplate(cfg, id::Source_COURSES, 1, 0)), "the courses file"},
    };
    for (const auto& source : sources) {
        FileStamp changed = 0;
        if (GetFileStamp(source.file, changed) && changed > made) {
            return std::string("The sheet is older than ") + source.what +
                   ": run Make Vector Maps again before printing.";
        }
    }
    return std::string();
}

} // namespace kib
