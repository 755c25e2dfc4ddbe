// The properties pane's structure from the configuration: its groups and their
// order, the kind of entry of every item, the visibility rules and the colours.
#include "config/pane_layout.h"
#include "support/event_builder.h"

#include "foundation/app_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kib {
namespace {

class PaneLayoutTest : public test::EventTest {
  protected:
    void SetUp() override { InstallHost(false); }
};

TEST_F(PaneLayoutTest, EveryItemWithALabelIsInTheGroupOfItsSectionOnce) {
    const CKibCfg config;
    std::vector<std::string> order;
    std::multiset<int> shown;
    for (const PaneGroup& group : PaneGroups()) {
        order.push_back(config.FindSectionById(group.sectionId)->GetName());
        for (int itemId : group.itemIds) {
            EXPECT_EQ(itemId / 100 * 100, group.sectionId) << itemId;
            shown.insert(itemId);
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Event", "Source", "Target", "System", "Text",
                                               "Heading", "MapSegment", "MapBorder", "MapColors",
                                               "NorthArrow", "Descriptions", "OrderTabs",
                                               "PointBoard", "Cover", "Solutions"}));
    for (int station0Id : PaneStationItems()) {
        shown.insert(station0Id);
    }
    std::multiset<int> labelled;
    for (const auto& section : config.Sections()) {
        if (section->GetStation() > 0) {
            continue;
        }
        for (const auto& item : section->Items()) {
            if (*item->GetDef().paneLabel != '\0') {
                labelled.insert(item->GetId());
            }
        }
    }
    EXPECT_EQ(shown, labelled);
}

TEST_F(PaneLayoutTest, EntriesByKind) {
    const CKibCfg config;
    std::map<PaneEntry, std::set<int>> entries;
    for (const auto& section : config.Sections()) {
        if (section->GetStation() <= 0) {
            for (const auto& item : section->Items()) {
                entries[PaneEntryOf(*item)].insert(item->GetId());
            }
        }
    }
    using namespace id;
    EXPECT_EQ(entries[PaneEntry::Font],
              (std::set<int>{Target_FONTNAME, Heading_FONTNAME, Descriptions_FONTNAME,
                             OrderTabs_FONTNAME, PointBoard_FONTNAME, Cover_FONTNAME}));
    EXPECT_EQ(entries[PaneEntry::Colour],
              (std::set<int>{Event_TABCOLOR, Heading_COLOR, MapBorder_COLOR, MapColors_PURPLECOLOR,
                             NorthArrow_COLOR, OrderTabs_COLOR, PointBoard_COLOR, Cover_COLOR,
                             Solutions_BORDERCOLOR}));
    EXPECT_EQ(entries[PaneEntry::Directory], (std::set<int>{Target_DIR, System_INKSCAPEPATH}));
    EXPECT_EQ(entries[PaneEntry::File], (std::set<int>{Solutions_LOGO}));
    EXPECT_TRUE(entries[PaneEntry::Choice].count(Target_MODE));
    EXPECT_TRUE(entries[PaneEntry::Text].count(Event_TITLE1));
    EXPECT_TRUE(StoresAbsolutePath(System_INKSCAPEPATH));
    EXPECT_FALSE(StoresAbsolutePath(Target_DIR));
}

TEST_F(PaneLayoutTest, VisibilityFollowsTheSettings) {
    using namespace id;
    struct Case {
        std::vector<std::pair<int, const char*>> settings;
        std::vector<int> shown;
        std::vector<int> hidden;
        std::vector<std::string> hiddenGroups;
    };
    const std::vector<std::string> paperGroups = {"Text", "Heading", "OrderTabs", "PointBoard",
                                                  "Cover"};
    std::vector<std::string> webGroups = paperGroups;
    webGroups.push_back("MapBorder");
    const Case cases[] = {
        {{},
         {Source_COURSES, Target_CANVAS, Target_SHEET, NorthArrow_SIDE, NorthArrow_LINKAGE,
          NorthArrow_LINES, OrderTabs_COVER, PointBoard_FULLWORDS},
         {MapSegment_TOP, MapSegment_BOTTOM, Target_CANVASW, Target_CANVASH, MapColors_PURPLECOLOR},
         {}},
        {{{Target_MODE, "WEB"}},
         {MapSegment_TOP, MapSegment_BOTTOM},
         {Target_CANVAS, Target_SHEET, NorthArrow_SIDE, NorthArrow_LINKAGE, NorthArrow_LINES},
         webGroups},
        {{{Target_MODE, "ANT"}},
         {NorthArrow_SIDE, NorthArrow_LINES},
         {Target_CANVAS, Target_SHEET, MapSegment_TOP},
         paperGroups},
        {{{Target_MODE, "web"}}, {Target_CANVAS}, {MapSegment_TOP}, {}}, // WEB as written only
        {{{Target_CANVAS, "Other"}}, {Target_CANVASW, Target_CANVASH}, {}, {}},
        {{{MapColors_PURPLEMODE, "Defined"}}, {MapColors_PURPLECOLOR}, {}, {}},
        {{{MapColors_PURPLEMODE, "defined"}}, {}, {MapColors_PURPLECOLOR}, {}},
        {{{MapSegment_SHAPE, "Square"}}, {}, {NorthArrow_LINES}, {}},
        {{{OrderTabs_DRAW, "no"}, {PointBoard_DRAW, "No"}},
         {},
         {OrderTabs_COVER, OrderTabs_STATNUM, OrderTabs_SIZE, OrderTabs_FONTNAME,
          PointBoard_FULLWORDS, PointBoard_SIZE, PointBoard_FONTNAME},
         {}},
    };
    for (const Case& c : cases) {
        CKibCfg config;
        config.UseServices(App().CurrentHost(), App().Log());
        std::string trace;
        for (const auto& [itemId, text] : c.settings) {
            ASSERT_TRUE(config.Item(itemId).SetText(text)) << text;
            trace += std::string(text) + " ";
        }
        SCOPED_TRACE(trace);
        const PaneVisibility v = PaneVisibilityOf(config);
        std::map<int, bool> items(v.items.begin(), v.items.end());
        for (int itemId : c.shown) {
            EXPECT_TRUE(items.count(itemId) == 1 && items[itemId]) << itemId;
        }
        for (int itemId : c.hidden) {
            EXPECT_TRUE(items.count(itemId) == 1 && !items[itemId]) << itemId;
        }
        for (const auto& [name, shown] : v.groups) {
            const bool hidden = std::find(c.hiddenGroups.begin(), c.hiddenGroups.end(), name) !=
                                c.hiddenGroups.end();
            EXPECT_EQ(shown, !hidden) << name;
        }
    }
}

TEST_F(PaneLayoutTest, StationGroupsFromTheLowestToTheHighestStation) {
    CKibCfg config;
    ASSERT_TRUE(config.Item(id::Event_MINSTAT).SetText("3"));
    ASSERT_TRUE(config.Item(id::Event_MAXSTAT).SetText("5"));
    PaneVisibility v = PaneVisibilityOf(config);
    EXPECT_EQ(v.firstStation, 3);
    EXPECT_EQ(v.lastStation, 5);
    CKibCfg unset;
    unset.UseServices(App().CurrentHost(), App().Log());
    v = PaneVisibilityOf(unset);
    EXPECT_EQ(v.firstStation, 1);
    EXPECT_EQ(v.lastStation, 0);
}

TEST_F(PaneLayoutTest, ColoursOfValueTexts) {
    EXPECT_EQ(PaneColour("0 0 255"), 255 * 65536);
    EXPECT_EQ(PaneColour("10 20 30"), 10 + 256 * 20 + 65536 * 30);
    EXPECT_EQ(PaneColour("300 0 0"), 300 & 0xFF); // a component keeps its low byte
    EXPECT_EQ(PaneColour("red"), 0);
    EXPECT_EQ(PaneColour("1 2"), 0);
}

} // namespace
} // namespace kib
