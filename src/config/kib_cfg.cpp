#include "config/kib_cfg.h"

#include "config/property_pane.h"
#include "foundation/app_state.h"
#include "foundation/checked_number.h"
#include "foundation/log.h"

#include <cassert>
#include <cctype>
#include <cmath>

namespace kib {

namespace {

constexpr ItemDef kMissingTextDef{"", 0, ItemKind::Text, "", "", "", {}};
constexpr ItemDef kMissingColorDef{"", 0, ItemKind::Colour, "0 0 0", "", "", {}};

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

constexpr std::size_t kFixedSections = 15;

} // namespace

CKibCfg::CKibCfg()
    : missingItem_(std::make_unique<CCfgStrItem>(nullptr, kMissingTextDef, 0)),
      missingColor_(std::make_unique<CCfgColorItem>(nullptr, kMissingColorDef, 0)) {
    const std::span<const SectionDef> table = SectionTable();
    assert(table.size() == kFixedSections + 1);
    sections_.reserve(kFixedSections + kStationCount);
    for (std::size_t i = 0; i < kFixedSections; ++i) {
        sections_.push_back(std::make_unique<CCfgSect>(this, table[i]));
    }
    for (int n = 0; n < kStationCount; ++n) {
        sections_.push_back(std::make_unique<CCfgSect>(this, table[kFixedSections], n));
    }
}

CCfgSect* CKibCfg::FindSection(const std::string& name) const {
    for (const auto& section : sections_) {
        if (EqualIgnoringCase(section->GetName(), name)) {
            return section.get();
        }
    }
    return nullptr;
}

CCfgSect* CKibCfg::FindSectionById(int id) const {
    if (id < 0) {
        return nullptr;
    }
    const int sectionId = id / 100 * 100;
    for (const auto& section : sections_) {
        if (section->GetId() == sectionId) {
            return section.get();
        }
    }
    return nullptr;
}

CCfgItem* CKibCfg::FindItemById(int id) const {
    CCfgSect* section = FindSectionById(id);
    return section ? section->FindItemById(id) : nullptr;
}

CCfgSect* CKibCfg::Station(int n) const {
    if (n < 0 || n >= kStationCount) {
        return nullptr;
    }
    return sections_[kFixedSections + static_cast<std::size_t>(n)].get();
}

CCfgItem& CKibCfg::Missing(int id) const {
    assert(!"no configuration item with this id");
    Reports().Error("Internal error - cannot find property ID %d", id);
    missingItem_->SetText("");
    return *missingItem_;
}

CCfgColorItem& CKibCfg::MissingColor(int id) const {
    assert(!"no colour item with this id");
    Reports().Error("Internal error - cannot find property ID %d", id);
    missingColor_->SetText("");
    return *missingColor_;
}

CCfgItem& CKibCfg::Item(int id) const {
    CCfgItem* item = FindItemById(id);
    return item ? *item : Missing(id);
}

CCfgColorItem& CKibCfg::Color(int id) const {
    auto* item = dynamic_cast<CCfgColorItem*>(FindItemById(id));
    return item ? *item : MissingColor(id);
}

CCfgItem& CKibCfg::StationItem(int n, int station0Id) const {
    CCfgSect* station = Station(n);
    CCfgItem* item = station ? station->FindItemById(StationItemId(n, station0Id)) : nullptr;
    return item ? *item : Missing(StationItemId(n, station0Id));
}

int CKibCfg::GetTasks(int n) const {
    CCfgSect* station = Station(n);
    CCfgItem* tasks =
        station ? station->FindItemById(StationItemId(n, id::Station_TASKS)) : nullptr;
    return tasks && tasks->IsSet() ? tasks->GetInt() : Item(id::Event_TASKS).GetInt();
}

int CKibCfg::GetFlags(int n) const {
    CCfgSect* station = Station(n);
    CCfgItem* flags =
        station ? station->FindItemById(StationItemId(n, id::Station_FLAGS)) : nullptr;
    return flags && flags->IsSet() ? flags->GetInt() : Item(id::Event_FLAGS).GetInt();
}

int CKibCfg::GetSolutionScale(int n, int mapScale, float mapZoom) const {
    CCfgSect* station = Station(n);
    if (station) {
        const int own = station->FindItemById(StationItemId(n, id::Station_SOLSCALE))->GetInt();
        if (own != 0) {
            return own;
        }
    }
    const int solutions = Item(id::Solutions_SCALE).GetInt();
    if (solutions != 0) {
        return solutions;
    }
    return ScaleOverZoom(mapScale, mapZoom);
}

int CKibCfg::GetRotation(int n) const {
    if (!Station(n)) {
        return -1;
    }
    const CCfgItem& minAngle = StationItem(n, id::Station_MINANGLE);
    const CCfgItem& maxAngle = StationItem(n, id::Station_MAXANGLE);
    if (!minAngle.IsSet()) {
        return -1;
    }
    // Angles are kept in a small range first, so that nothing below can overflow.
    const long long min = minAngle.GetInt() % 360;
    long long rotation = 0;
    if (!maxAngle.IsSet()) {
        rotation = min > 0 ? 360 - min : -min;
    } else {
        const long long a = -(maxAngle.GetInt() % 360);
        const long long b = -min;
        const long long m = (a + b) / 2;
        rotation = (b - a <= 180 && a - b <= 180) ? m : m - 180;
    }
    // A rotation is 0 .. 359 degrees; -1 is reserved for "not configured".
    return static_cast<int>(((rotation % 360) + 360) % 360);
}

int CKibCfg::GetMinStation() const {
    const CCfgItem& min = Item(id::Event_MINSTAT);
    return min.IsSet() ? min.GetInt() : 1;
}

int CKibCfg::GetMaxStation() const {
    return Item(id::Event_MAXSTAT).GetInt();
}

void CKibCfg::PushToProperties() {
    PropertyPane& pane = *pane_;
    for (const auto& section : sections_) {
        for (const auto& item : section->Items()) {
            if (item->IsSet() && item->GetId() != 0) {
                pane.ShowValue(item->GetId(), item->GetValueText());
            }
        }
    }
    pane.UpdateVisibility();
    live_ = true;
}

void UpdateDebugSwitch(const CKibCfg& cfg) {
    SetDebugSwitchFromValue(cfg.Item(id::System_DEBUGGING).GetValue());
}

} // namespace kib
