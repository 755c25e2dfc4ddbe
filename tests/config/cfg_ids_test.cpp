// The names of the property ids (src/config/cfg_ids.h) against the table of
// keys: every name Section_KEY is the id of that key in that section, and every
// key of the table has its name.
#include "config/cfg_table.h"
#include "config/kib_cfg.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace kib {
namespace {

TEST(CfgIdsTest, EveryNameIsTheIdOfItsKey) {
    std::ifstream header(std::string(KIB_SOURCE_DIR) + "/src/config/cfg_ids.h");
    ASSERT_TRUE(header);
    std::stringstream text;
    text << header.rdbuf();
    const std::string ids = text.str();

    const CKibCfg cfg;
    const std::regex named(R"(inline constexpr int (\w+)_(\w+) = (\d+);)");
    std::set<int> itemIds;
    int items = 0;
    for (std::sregex_iterator it(ids.begin(), ids.end(), named), end; it != end; ++it) {
        const std::string section = (*it)[1];
        const std::string key = (*it)[2];
        const int value = std::stoi((*it)[3]);
        SCOPED_TRACE(section + "_" + key);
        if (section == "Section") {
            const CCfgSect* sect = cfg.FindSection(key == "Station" ? "Station 0" : key);
            ASSERT_NE(sect, nullptr);
            EXPECT_EQ(sect->GetId(), value);
            continue;
        }
        const CCfgSect* owner = cfg.FindSection(section == "Station" ? "Station 0" : section);
        ASSERT_NE(owner, nullptr);
        const CCfgItem* item = owner->FindItem(key);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetKey(), key); // the name's key exactly, not upper-cased from it
        EXPECT_EQ(item->GetId(), value);
        itemIds.insert(value);
        ++items;
    }
    int rows = 0;
    for (const SectionDef& section : SectionTable()) {
        rows += static_cast<int>(section.items.size());
    }
    EXPECT_EQ(items, rows) << "a key of the table without its name in cfg_ids.h";
    EXPECT_EQ(static_cast<int>(itemIds.size()), items) << "two names of one id";
}

} // namespace
} // namespace kib
