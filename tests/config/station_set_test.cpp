// The stations a command works on: station lists, the Make dialog's selection
// and the one check of a choice against the configuration.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/station_set.h"

#include "foundation/app_state.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

TEST(StationSet, NumbersAndRanges) {
    struct Case {
        const char* text;
        std::vector<int> stations;
    };
    const Case cases[] = {
        {"1,3-5", {1, 3, 4, 5}}, {"7", {7}},           {" 2 , 0-1 ,2", {0, 1, 2}},
        {"20-20", {20}},         {"3-5,4", {3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        StationSet set;
        std::string error;
        ASSERT_TRUE(StationSet::Parse(c.text, set, error)) << error;
        EXPECT_EQ(set.Named(), c.stations);
        EXPECT_FALSE(set.IsEvery());
    }
}

TEST(StationSet, BadListsAreRefusedWithAReason) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "empty station in ''"},
        {"1,,2", "empty station in '1,,2'"},
        {"1,", "empty station in '1,'"},
        {"5-3", "the range '5-3' runs backwards"},
        {"21", "station 21 is outside 0-20"},
        {"1-99999999999", "'99999999999' is not a station number"},
        {"a", "'a' is not a station number"},
        {"-2", "'' is not a station number"},
        {"1-2-3", "'2-3' is not a station number"},
        {"+1", "'+1' is not a station number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        StationSet set;
        std::string error;
        EXPECT_FALSE(StationSet::Parse(c.text, set, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(StationSet, ChosenStationsAndTheCheckAgainstTheConfiguration) {
    CKibCfg cfg;
    cfg.UseServices(App().CurrentHost(), App().Log());
    ASSERT_TRUE(cfg.Item(id::Event_MAXSTAT).SetText("8"));
    ASSERT_TRUE(cfg.Item(id::Event_TASKS).SetText("5"));
    ASSERT_TRUE(cfg.StationItem(4, id::Station_TASKS).SetText("6"));
    EXPECT_EQ(StationSet::Every().Chosen(cfg), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(StationSet::FromMask((1u << 2) | (1u << 4)).Chosen(cfg), (std::vector<int>{2, 4}));
    EXPECT_TRUE(StationSet::Of({}).Chosen(cfg).empty()) << "nothing named is not every station";
    EXPECT_FALSE(StationSet::Of({}).Add(21));

    struct Case {
        std::vector<int> stations; // empty: every station
        int task;
        const char* error; // empty: accepted
    };
    const Case cases[] = {
        {{2, 8}, -1, ""},
        {{}, 5, ""},
        {{4}, 6, ""},
        {{0}, -1, "station 0 is not among the stations 1-8"},
        {{3, 9}, 1, "station 9 is not among the stations 1-8"},
        {{}, 6, "station 1 has 5 tasks, not task 6"},
        {{3}, 7, "station 3 has 5 tasks, not task 7"},
        {{4}, 7, "station 4 has 6 tasks, not task 7"},
        {{3}, 0, ""},
        {{3}, -2, ""},
    };
    for (const Case& c : cases) {
        const StationSet set =
            c.stations.empty() ? StationSet::Every() : StationSet::Of(c.stations);
        std::string error;
        EXPECT_EQ(CheckChoice(cfg, set, c.task, error), std::string(c.error).empty()) << c.error;
        EXPECT_EQ(error, c.error);
    }
    // A station whose task count is not configured is left to its map.
    ASSERT_TRUE(cfg.StationItem(3, id::Station_TASKS).SetText("0"));
    std::string error;
    EXPECT_TRUE(CheckChoice(cfg, StationSet::Of({3}), 9, error)) << error;
}

} // namespace
} // namespace kib
