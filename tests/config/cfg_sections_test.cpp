// Configuration sections and keys: structure, look-ups, station fall-backs,
// rotation and the push of values to the properties pane.
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "platform/environment.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kib {
namespace {

class CfgSectionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        host.Attach(cfg);
    }

    test::RecordingHost host;
    CKibCfg cfg;
};

TEST_F(CfgSectionsTest, ThirtySixSectionsInFileOrderWithTheirItems) {
    const std::vector<std::pair<std::string, std::size_t>> fixed = {
        {"Event", 15},       {"Source", 13},    {"Target", 10},    {"System", 3},
        {"Text", 3},         {"Cover", 3},      {"Heading", 7},    {"MapSegment", 5},
        {"MapBorder", 3},    {"MapColors", 3},  {"NorthArrow", 6}, {"OrderTabs", 10},
        {"Descriptions", 4}, {"PointBoard", 6}, {"Solutions", 21}};
    const auto& sections = cfg.Sections();
    ASSERT_EQ(sections.size(), 36u);
    std::set<int> ids;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const CCfgSect& s = *sections[i];
        const bool station = i >= fixed.size();
        const int n = static_cast<int>(i - fixed.size());
        EXPECT_EQ(s.GetName(), station ? "Station " + std::to_string(n) : fixed[i].first);
        EXPECT_EQ(s.GetId(), station ? 2100 + 100 * n : 100 * static_cast<int>(i + 1));
        EXPECT_EQ(s.Items().size(), station ? 7u : fixed[i].second) << s.GetName();
        for (const auto& item : s.Items()) {
            EXPECT_EQ(item->GetId() / 100 * 100, s.GetId()) << item->GetKey();
            EXPECT_TRUE(ids.insert(item->GetId()).second) << item->GetId();
            EXPECT_FALSE(item->IsSet());
            EXPECT_EQ(&item->GetSection(), &s);
            EXPECT_EQ(cfg.FindItemById(item->GetId()), item.get());
            const ItemKind kind = item->GetKind();
            const bool colour = dynamic_cast<CCfgColorItem*>(item.get()) != nullptr;
            const bool integer = dynamic_cast<CCfgIntItem*>(item.get()) != nullptr;
            EXPECT_EQ(colour, kind == ItemKind::Colour) << item->GetKey();
            EXPECT_EQ(integer, kind == ItemKind::Integer || kind == ItemKind::Scale ||
                                   kind == ItemKind::StationNumber || kind == ItemKind::TaskCount ||
                                   kind == ItemKind::FlagCount)
                << item->GetKey();
        }
    }
    // Where Inkscape is installed by default on each system.
    EXPECT_EQ(cfg.Item(id::System_INKSCAPEPATH).GetValue(),
              platform::ThisSystem() == platform::OperatingSystem::Windows
                  ? "C:\\Program Files\\Inkscape\\"
                  : "/usr/");
    EXPECT_EQ(cfg.StationItem(7, id::Station_SOLSCALE).GetId(), 2806);
    EXPECT_EQ(cfg.Station(20)->GetName(), "Station 20");
    EXPECT_EQ(cfg.Station(-1), nullptr);
    EXPECT_EQ(cfg.Station(21), nullptr);
}

TEST_F(CfgSectionsTest, LookUps) {
    EXPECT_EQ(cfg.FindSection("mapsegment")->GetId(), id::Section_MapSegment);
    EXPECT_EQ(cfg.FindSection("STATION 3"), cfg.Station(3));
    EXPECT_EQ(cfg.FindSection("Station 21"), nullptr);
    EXPECT_EQ(cfg.FindSection("Station"), nullptr);
    EXPECT_EQ(cfg.FindSection("Events"), nullptr);

    CCfgSect& event = *cfg.FindSection("Event");
    EXPECT_EQ(event.FindItem("title1"), &cfg.Item(id::Event_TITLE1));
    EXPECT_EQ(event.FindItem("WIN_PATH"), nullptr);
    EXPECT_EQ(cfg.Station(2)->FindItem("Tasks"), &cfg.StationItem(2, id::Station_TASKS));

    EXPECT_EQ(cfg.FindSectionById(2305), cfg.Station(2));
    EXPECT_EQ(cfg.FindItemById(2306), &cfg.StationItem(2, id::Station_SOLSCALE));
    EXPECT_EQ(cfg.FindItemById(203)->GetKey(), "MAP");
    for (int missing : {0, 99, 200, 250, 1600, 2108, 4200, 4301, -101}) {
        EXPECT_EQ(cfg.FindItemById(missing), nullptr) << missing;
    }
}

TEST_F(CfgSectionsTest, StationCountsFallBackToTheEvent) {
    cfg.Item(id::Event_TASKS).SetText("5");
    cfg.Item(id::Event_FLAGS).SetText("6");
    EXPECT_EQ(cfg.GetTasks(4), 5);
    EXPECT_EQ(cfg.GetFlags(4), 6);
    cfg.StationItem(4, id::Station_TASKS).SetText("3");
    cfg.StationItem(4, id::Station_FLAGS).SetText("2");
    EXPECT_EQ(cfg.GetTasks(4), 3);
    EXPECT_EQ(cfg.GetFlags(4), 2);
    EXPECT_EQ(cfg.GetTasks(5), 5);
    EXPECT_EQ(cfg.GetTasks(99), 5); // no such station: the event's value

    EXPECT_EQ(cfg.GetSolutionScale(1, 4000, 0.5), 8000);
    EXPECT_EQ(cfg.GetSolutionScale(1, 4000, 0), 4000);
    cfg.Item(id::Solutions_SCALE).SetText("2000");
    EXPECT_EQ(cfg.GetSolutionScale(1, 4000, 0.5), 2000);
    cfg.StationItem(1, id::Station_SOLSCALE).SetText("1:1 500");
    EXPECT_EQ(cfg.GetSolutionScale(1, 4000, 0.5), 1500);

    EXPECT_EQ(cfg.GetMinStation(), 1);
    EXPECT_EQ(cfg.GetMaxStation(), 0);
    cfg.Item(id::Event_MINSTAT).SetText("0");
    cfg.Item(id::Event_MAXSTAT).SetText("12");
    EXPECT_EQ(cfg.GetMinStation(), 0);
    EXPECT_EQ(cfg.GetMaxStation(), 12);
}

// The one rule of the map scale in the export's units, which every run, the
// solution sheets, the preview and a new configuration use.
TEST_F(CfgSectionsTest, SolutionScaleFallsBackToTheScaleOverZoom) {
    // single precision: the competition maps' 37500, not 37499
    EXPECT_EQ(cfg.GetSolutionScale(1, 15000, 0.4f), 37500);
}

TEST_F(CfgSectionsTest, RotationFromTheConfiguredAngles) {
    struct {
        const char* min;
        const char* max;
        int rotation;
    } const cases[] = {
        {"", "90", -1},
        {"0", "", 0},
        {"-30", "", 30},
        {"90", "", 270},
        {"30", "90", 300},
        {"350", "10", 0},
        {"200", "10", 75},
        {"10", "10", 350},
        // Wide fans whose bisector crosses north still give 0 .. 359 (never -1).
        {"359", "3", 359},
        {"359", "178", 272},
        {"400", "", 320},
    };
    for (const auto& c : cases) {
        cfg.StationItem(3, id::Station_MINANGLE).SetText(c.min);
        cfg.StationItem(3, id::Station_MAXANGLE).SetText(c.max);
        EXPECT_EQ(cfg.GetRotation(3), c.rotation) << c.min << " / " << c.max;
    }
    EXPECT_EQ(cfg.GetRotation(21), -1);
}

TEST_F(CfgSectionsTest, PushGivesSetValuesInOrderThenRefreshesAndGoesLive) {
    cfg.StationItem(2, id::Station_TASKS).SetText("4");
    cfg.Item(id::Source_CHAIR).SetText("790.001");
    cfg.Item(id::Event_NAME).SetText("Sprint");
    cfg.Color(id::MapBorder_COLOR).SetInt(-1);
    EXPECT_FALSE(cfg.IsLive());
    cfg.PushToProperties();
    const std::vector<std::pair<int, std::string>> expected = {{id::Event_NAME, "Sprint"},
                                                               {id::Source_CHAIR, "790.001"},
                                                               {id::MapBorder_COLOR, "0 0 0"},
                                                               {2301, "4"}};
    EXPECT_EQ(host.pane.values, expected);
    EXPECT_EQ(host.pane.visibilityUpdates, 1);
    EXPECT_TRUE(cfg.IsLive());
}

TEST_F(CfgSectionsTest, DebugSwitchFollowsTheEffectiveDebugging) {
    UpdateDebugSwitch(cfg); // default "No"
    EXPECT_FALSE(App().debugSwitch);
    for (const auto& [value, on] : std::vector<std::pair<std::string, bool>>{
             {"Yes", true}, {"no", false}, {"1", true}, {"N", false}}) {
        cfg.Item(id::System_DEBUGGING).SetText(value);
        UpdateDebugSwitch(cfg);
        EXPECT_EQ(App().debugSwitch, on) << value;
    }
}

} // namespace
} // namespace kib
