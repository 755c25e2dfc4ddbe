#include "config/cfg_sect.h"

#include "config/kib_cfg.h"
#include "foundation/format.h"

#include <cctype>

namespace kib {

namespace {

bool IsIntegerKind(ItemKind kind) {
    switch (kind) {
    case ItemKind::Integer:
    case ItemKind::Scale:
    case ItemKind::StationNumber:
    case ItemKind::TaskCount:
    case ItemKind::FlagCount:
        return true;
    default:
        return false;
    }
}

std::unique_ptr<CCfgItem> MakeItem(CCfgSect* section, const ItemDef& def, int id) {
    if (def.kind == ItemKind::Colour) {
        return std::make_unique<CCfgColorItem>(section, def, id);
    }
    if (IsIntegerKind(def.kind)) {
        return std::make_unique<CCfgIntItem>(section, def, id);
    }
    return std::make_unique<CCfgStrItem>(section, def, id);
}

std::string StationName(int station) {
    return Format("Station %d", station);
}

} // namespace

CCfgSect::CCfgSect(CKibCfg* cfg, const SectionDef& def, int station)
    : cfg_(cfg), id_(station >= 0 ? StationItemId(station, def.id) : def.id), station_(station),
      name_(station >= 0 ? StationName(station) : std::string(def.name)) {
    items_.reserve(def.items.size());
    for (const ItemDef& item : def.items) {
        const int id = station >= 0 ? StationItemId(station, item.id) : item.id;
        items_.push_back(MakeItem(this, item, id));
    }
}

CCfgItem* CCfgSect::FindItem(const std::string& key) const {
    std::string upper = key;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    for (const auto& item : items_) {
        if (item->GetKey() == upper) {
            return item.get();
        }
    }
    return nullptr;
}

CCfgItem* CCfgSect::FindItemById(int id) const {
    for (const auto& item : items_) {
        if (item->GetId() == id) {
            return item.get();
        }
    }
    return nullptr;
}

bool CCfgSect::HasSetItem() const {
    for (const auto& item : items_) {
        if (!item->GetValueText().empty()) {
            return true;
        }
    }
    return false;
}

} // namespace kib
