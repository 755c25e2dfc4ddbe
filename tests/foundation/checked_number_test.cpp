// Floating-point numbers become integers only within range.
#include "foundation/checked_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace kib {
namespace {

TEST(CheckedNumberTest, TruncationWithinRangeOnly) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(TruncateToInt(2.9), 2);
    EXPECT_EQ(TruncateToInt(-2.9), -2);
    EXPECT_EQ(TruncateToInt(2147483647.9), INT_MAX);
    EXPECT_EQ(TruncateToInt(-2147483648.9), INT_MIN);
    EXPECT_EQ(TruncateToInt(2147483648.0), std::nullopt);
    EXPECT_EQ(TruncateToInt(-2147483649.0), std::nullopt);
    EXPECT_EQ(TruncateToInt(std::nan("")), std::nullopt);
    EXPECT_EQ(TruncateToInt(inf), std::nullopt);
    EXPECT_EQ(TruncateToIntOr(-inf, 7), 7);
}

TEST(CheckedNumberTest, ScaleOfAMapExportAndItsZoom) {
    struct Case {
        int mapScale;
        float zoom;
        int scale;
    };
    const float nan = std::nanf("");
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {4000, 1.0f, 4000},   {4000, 2.0f, 2000},  {4000, 0.3f, 13333}, {4000, 2.5f, 1600},
        {15000, 0.4f, 37500}, // single precision: the competition maps' 37500, not 37499
        {4000, 0.0f, 4000},   {4000, -2.0f, 4000}, {4000, nan, 4000},   {4000, inf, 4000},
        {4000, 1e-30f, 0},    {INT_MAX, 0.5f, 0},  {0, 2.0f, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleOverZoom(c.mapScale, c.zoom), c.scale) << c.mapScale << " / " << c.zoom;
    }
    EXPECT_TRUE(IsUsableMapZoom(1.0f));
    EXPECT_TRUE(IsUsableMapZoom(0.001f));
    EXPECT_TRUE(IsUsableMapZoom(1000.0f));
    EXPECT_FALSE(IsUsableMapZoom(1e-30f));
    EXPECT_FALSE(IsUsableMapZoom(0.0f));
    EXPECT_FALSE(IsUsableMapZoom(-1.0f));
    EXPECT_FALSE(IsUsableMapZoom(std::nanf("")));
}

} // namespace
} // namespace kib
