#include "map_input/kib_svg.h"

#include "config/cfg_ids.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/map_export_read.h"

namespace kib {

CKibSvg::CKibSvg(CKibDoc& doc) : doc_(doc) {}

CKibSvg::~CKibSvg() = default;

CKibCfg& CKibSvg::GetConfig() const {
    return *doc_.GetConfig();
}

bool CKibSvg::ReadMap(int station, int task) {
    if (!doc_.GetConfig()) {
        return false;
    }
    const std::string name = EvalTemplate(GetConfig(), id::Source_MAP, station, task);
    const std::string path = doc_.MakePath(name);
    SetStatusText(Format("Reading SVG %s...", path.c_str()));
    LogDebug("==== Reading SVG %d.%d...", station, task);
    MapExportInput file;
    if (name.empty() || !file.Open(doc_, path)) {
        if (file.NotRegular()) {
            LogError("[** ERROR **] Cannot open map file %s: %s", path.c_str(),
                     file.Reason().c_str());
        } else {
            LogError("[** ERROR **] Cannot open map file %s", path.c_str());
        }
        ShowBox("Cannot open map file.", BoxIcon::Error);
        return false;
    }
    map_.reset();
    map_ = std::make_unique<CKibMap>(*this);
    const bool parsed = map_->ParseMap(file.Stream(), station, task);
    if (!parsed) {
        return false;
    }
    map_->CheckSpecialSymbols();
    map_->CheckFlagCount(station);
    map_->AnalyseViewingAngle(station);
    map_->AnalyseDescriptions(station);
    if (task != 0) {
        map_->AnalyseCircles(station, task);
    }
    return true;
}

} // namespace kib
