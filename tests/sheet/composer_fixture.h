// What the composer tests share: a five-task station configured with the
// fixture's chair and flags, and the fixture map read and analysed with its
// circles assigned to the tasks.
#pragma once

#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "support/event_builder.h"

#include <memory>
#include <sstream>
#include <string>

namespace kib::test {

class ComposerFixture : public EventTest {
  protected:
    void MakeStation() {
        InstallHost(true);
        Set(id::Event_TASKS, "5");
        Set(id::Source_CHAIR, "790.1");
        Set(id::Source_FLAG, "790.2 790.3");
        svg = std::make_unique<CKibSvg>(doc);
    }

    // Reads the map text, gives circle part p the task p + 1 and turns the map
    // by the rotation.
    CKibMap& LoadMap(const std::string& text, int rotation) {
        map = std::make_unique<CKibMap>(*svg);
        std::istringstream in(text);
        EXPECT_TRUE(map->ParseMap(in, 1, 1));
        map->AnalyseDescriptions(1);
        SymbolSet* circles = map->FindSet(703, 0);
        EXPECT_NE(circles, nullptr);
        map->firstPart = circles->First();
        map->partCount = circles->count;
        for (int p = 0; p < map->partCount; ++p) {
            map->assignments[static_cast<std::size_t>(p)] = ":" + std::to_string(p + 1) + ":";
        }
        map->rotation = rotation;
        return *map;
    }

    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    std::unique_ptr<CKibSvg> svg;
    std::unique_ptr<CKibMap> map;
};

} // namespace kib::test
