// The configuration of one event: fifteen fixed sections and the stations 0 .. 20.
#pragma once

#include "config/cfg_ids.h"
#include "config/cfg_item.h"
#include "config/cfg_sect.h"
#include "config/property_pane.h"
#include "foundation/diagnostics.h"
#include "foundation/host.h"

#include <memory>
#include <string>
#include <vector>

namespace kib {

class CKibCfg {
  public:
    CKibCfg();
    CKibCfg(const CKibCfg&) = delete;
    CKibCfg& operator=(const CKibCfg&) = delete;

    // Where the items report their bad values, and the host that asks the user
    // (a preset offered for WEB mode). Until they are given, nothing is reported
    // and every question gets its default answer.
    void UseServices(Host& host, Diagnostics& reports) {
        host_ = &host;
        reports_ = &reports;
    }
    // The properties pane that shows the configuration (none until given).
    void UsePane(PropertyPane& pane) { pane_ = &pane; }
    PropertyPane& Pane() const { return *pane_; }
    Diagnostics& Reports() const { return *reports_; }
    Host& GetHost() const { return *host_; }
    bool IsLive() const { return live_; }

    // All 36 sections in file order: fixed sections, then Station 0 .. 20.
    const std::vector<std::unique_ptr<CCfgSect>>& Sections() const { return sections_; }
    // Case-insensitive section look-up by name; none when not found.
    CCfgSect* FindSection(const std::string& name) const;
    // The section whose id is id rounded down to a multiple of 100.
    CCfgSect* FindSectionById(int id) const;
    CCfgItem* FindItemById(int id) const;
    CCfgSect* Station(int n) const; // none outside 0 .. 20

    // Item by id: for the fixed sections, e.g. Item(id::Event_TASKS). Never none for a
    // table id (asserts in debug builds).
    CCfgItem& Item(int id) const;
    CCfgColorItem& Color(int id) const;
    // Station n's item given the id of station 0, e.g. StationItem(3, id::Station_TASKS).
    CCfgItem& StationItem(int n, int station0Id) const;

    // Station fall-backs.
    int GetTasks(int n) const; // station TASKS when set, else Event.TASKS
    int GetFlags(int n) const; // station FLAGS when set, else Event.FLAGS
    // Station SOLSCALE, else Solutions.SCALE, else ScaleOverZoom(mapScale, mapZoom)
    // (given by the caller).
    int GetSolutionScale(int n, int mapScale, float mapZoom) const;
    // Rotation from the station's MINANGLE / MAXANGLE, or -1 when none is configured.
    int GetRotation(int n) const;
    // Lowest station: Event.MINSTAT when set, else 1. Highest: effective Event.MAXSTAT.
    int GetMinStation() const;
    int GetMaxStation() const;

    // Gives every set item's value to the properties pane, refreshes which station
    // groups the pane shows, and makes the configuration live.
    void PushToProperties();

  private:
    // Stand-ins handed out (after an internal-error line) for an id that names no item.
    CCfgItem& Missing(int id) const;
    CCfgColorItem& MissingColor(int id) const;

    NullHost noHost_;
    SilentDiagnostics silent_;
    Host* host_ = &noHost_;
    Diagnostics* reports_ = &silent_;
    NullPropertyPane noPane_;
    PropertyPane* pane_ = &noPane_;
    bool live_ = false;
    std::vector<std::unique_ptr<CCfgSect>> sections_;
    std::unique_ptr<CCfgStrItem> missingItem_;
    std::unique_ptr<CCfgColorItem> missingColor_;
};

// Sets the debugging switch from the effective System.DEBUGGING.
void UpdateDebugSwitch(const CKibCfg& cfg);

} // namespace kib
