// A configuration section: a named, numbered list of items.
#pragma once

#include "config/cfg_item.h"
#include "config/cfg_table.h"

#include <memory>
#include <string>
#include <vector>

namespace kib {

class CKibCfg;
class CKibDoc;

class CCfgSect {
  public:
    // Builds the section's items from its table rows; station >= 0 for "Station %d".
    CCfgSect(CKibCfg* cfg, const SectionDef& def, int station = -1);
    virtual ~CCfgSect() = default;
    CCfgSect(const CCfgSect&) = delete;
    CCfgSect& operator=(const CCfgSect&) = delete;

    int GetId() const { return id_; }
    const std::string& GetName() const { return name_; }
    int GetStation() const { return station_; } // -1 for fixed sections
    CKibCfg* GetConfig() const { return cfg_; }
    // Upper-cases the key and compares it with the item keys in list order.
    CCfgItem* FindItem(const std::string& key) const;
    CCfgItem* FindItemById(int id) const;
    const std::vector<std::unique_ptr<CCfgItem>>& Items() const { return items_; }
    bool HasSetItem() const;

  private:
    CKibCfg* cfg_;
    int id_;
    int station_;
    std::string name_;
    std::vector<std::unique_ptr<CCfgItem>> items_;
};

} // namespace kib
