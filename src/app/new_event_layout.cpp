// A new event's layout: the default, or the order tab size and the canvas and
// sheet that hold the largest station.
#include "app/new_event_layout.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/station_set.h"
#include "foundation/app_state.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "sheet/check_layout.h"
#include "sheet/kibage.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kib {

namespace {

// Tabs smaller than this are hard to read and to cut out.
constexpr int kMinTabSize = 8;

struct Paper {
    const char* canvas;
    const char* sheet;
};

// The standard canvases from the smallest, each on the sheet it is printed on.
constexpr Paper kLargerPapers[] = {
    {"A5Full", "A4Tiled"},
    {"A4Landscape", "A4Landscape"},
    {"A4Portrait", "A4Portrait"},
};

// Whether every station lays out, competition and solution sheets, without a
// word in the log; the first one that does not is failing.
bool EveryStationFits(const CKibCfg& cfg, int& failing) {
    CKibage surface(cfg);
    std::vector<int> stations = StationSet::Every().Chosen(cfg);
    if (stations.empty()) {
        stations.push_back(0);
    }
    for (int n : stations) {
        if (!surface.ComputeLayout(true, false, 0, n, 0, 0) ||
            !surface.ComputeLayout(true, true, 0, n, 0, 0)) {
            failing = n;
            return false;
        }
    }
    return true;
}

// The largest tab size from the current one down to the smallest that lets
// every station fit; 0 when none does (the size is then back as it was).
int FittingTabSize(CKibCfg& cfg, int smallest) {
    CCfgItem& size = cfg.Item(id::OrderTabs_SIZE);
    const std::string before = size.GetValueText();
    int failing = 0;
    const int start = size.GetInt();
    for (int tabs = start; tabs >= smallest; --tabs) {
        size.SetInt(tabs);
        if (EveryStationFits(cfg, failing)) {
            if (tabs == start) {
                size.SetText(before); // the size it had is written no more than before
            }
            return tabs;
        }
    }
    size.SetText(before);
    return 0;
}

std::string Describe(const CKibCfg& cfg, int station) {
    return Format("station %d with %d tasks", station, cfg.GetTasks(station));
}

} // namespace

bool FitNewEventLayout(CKibCfg& cfg) {
    int failing = 0;
    const std::string canvas = cfg.Item(id::Target_CANVAS).GetValue();
    const std::string canvasText = cfg.Item(id::Target_CANVAS).GetValueText();
    const std::string sheetText = cfg.Item(id::Target_SHEET).GetValueText();
    const int defaultTabs = cfg.Item(id::OrderTabs_SIZE).GetInt();
    if (EveryStationFits(cfg, failing)) {
        return true;
    }
    const std::string why = Describe(cfg, failing);
    if (const int tabs = FittingTabSize(cfg, kMinTabSize); tabs > 0) {
        App().Log().Info(
            "Layout: order tabs of %d mm (OrderTabs.SIZE=%d), as %s does not fit the canvas "
            "%s with tabs of %d mm.",
            tabs, tabs, why.c_str(), canvas.c_str(), defaultTabs);
        return true;
    }
    for (const Paper& paper : kLargerPapers) {
        cfg.Item(id::Target_CANVAS).SetText(paper.canvas);
        cfg.Item(id::Target_SHEET).SetText(paper.sheet);
        if (const int tabs = FittingTabSize(cfg, kMinTabSize); tabs > 0) {
            App().Log().Info(
                "Layout: canvas %s on sheet %s with order tabs of %d mm (Target.CANVAS=%s, "
                "Target.SHEET=%s, OrderTabs.SIZE=%d), as %s needs tabs below %d mm on the "
                "canvas %s.",
                paper.canvas, paper.sheet, tabs, paper.canvas, paper.sheet, tabs, why.c_str(),
                kMinTabSize, canvas.c_str());
            return true;
        }
    }
    cfg.Item(id::Target_CANVAS).SetText(canvasText);
    cfg.Item(id::Target_SHEET).SetText(sheetText);
    return false;
}

bool CheckNewEventLayout(CKibDoc& doc) {
    CKibCfg& cfg = *doc.GetConfig();
    int failing = 0;
    if (EveryStationFits(cfg, failing)) {
        CheckLayout(doc, true); // the check the Make commands run, with its debug lines
        App().Log().Info(
            "Layout check: every station fits the canvas %s on the sheet %s with order tabs "
            "of %d mm.",
            cfg.Item(id::Target_CANVAS).GetValue().c_str(),
            cfg.Item(id::Target_SHEET).GetValue().c_str(), cfg.Item(id::OrderTabs_SIZE).GetInt());
        return true;
    }
    // A key and a value that would fit: smaller tabs, else a canvas as large as needed.
    const std::string why = Describe(cfg, failing);
    const std::string tabsText = cfg.Item(id::OrderTabs_SIZE).GetValueText();
    if (const int tabs = FittingTabSize(cfg, 1); tabs > 0) {
        cfg.Item(id::OrderTabs_SIZE).SetText(tabsText);
        App().Log().Warning("The layout does not fit %s: set OrderTabs.SIZE=%d or choose a "
                            "larger Target.CANVAS and Target.SHEET.",
                            why.c_str(), tabs);
    } else {
        App().Log().Warning(
            "The layout does not fit %s: set Target.CANVAS=Other (the canvas "
            "then takes the size the layout needs) and a Target.SHEET that holds it.",
            why.c_str());
    }
    return false;
}

} // namespace kib
