// Point sizes and a LOGFONT's pixel heights.
#include <gtest/gtest.h>

#include <cstdint>

#include "ui/framework/FontSpec.h"

namespace lumora {
namespace {

TEST(FontSpecTest, PointsAndPixelHeights) {
    struct Case {
        int height;
        int dpi;
        int points;
    };
    const Case cases[] = {
        {-11, 96, 8},  {-12, 96, 9}, {-13, 96, 10}, {-16, 96, 12}, {-15, 120, 9},
        {-12, 144, 6}, {11, 96, 8},  {0, 96, 0},    {-11, 0, 8},   {-11, -5, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << " px at " << c.dpi << " dpi");
        EXPECT_EQ(PointsFromHeight(c.height, c.dpi), c.points);
    }
    EXPECT_EQ(HeightFromPoints(8, 96), -11);
    EXPECT_EQ(HeightFromPoints(9, 96), -12);
    EXPECT_EQ(HeightFromPoints(10, 96), -13);
    EXPECT_EQ(HeightFromPoints(12, 96), -16);
    EXPECT_EQ(HeightFromPoints(9, 120), -15);
    EXPECT_EQ(HeightFromPoints(8, 0), -11);
    // Out-of-range sizes saturate instead of overflowing.
    EXPECT_EQ(PointsFromHeight(INT32_MIN, 1), INT32_MAX);
    EXPECT_EQ(HeightFromPoints(INT32_MAX, 1000), -INT32_MAX);
}

}  // namespace
}  // namespace lumora
