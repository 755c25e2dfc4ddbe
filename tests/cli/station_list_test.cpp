// The --stations option of the Make verbs.
#include "cli/station_list.h"

#include <gtest/gtest.h>

namespace kib::cli {
namespace {

TEST(StationList, NumbersAndRanges) {
    struct Case {
        const char* text;
        std::vector<int> stations;
        std::uint32_t mask;
    };
    const Case cases[] = {
        {"1,3-5", {1, 3, 4, 5}, 0b111010}, {"7", {7}, 1u << 7},
        {" 2 , 0-1 ,2", {0, 1, 2}, 0b111}, {"20-20", {20}, 1u << 20},
        {"3-5,4", {3, 4, 5}, 0b111000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<int> stations;
        std::string error;
        ASSERT_TRUE(ParseStationList(c.text, stations, error)) << error;
        EXPECT_EQ(stations, c.stations);
        EXPECT_EQ(StationMask(stations), c.mask);
    }
}

TEST(StationList, BadListsAreRefusedWithAReason) {
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
        std::vector<int> stations;
        std::string error;
        EXPECT_FALSE(ParseStationList(c.text, stations, error));
        EXPECT_EQ(error, c.error);
    }
}

} // namespace
} // namespace kib::cli
