#include "common/saturate.h"

#include <gtest/gtest.h>

#include <limits>

using namespace plotwell::common;

TEST(Saturate, TruncatesTowardZeroAndClipsWithTheFlag) {
    bool clipped = false;
    EXPECT_EQ(saturateTrunc(2.9, 0, 4095, 2048, &clipped), 2);
    EXPECT_EQ(saturateTrunc(-0.9, -5, 5, 0, &clipped), 0);
    EXPECT_FALSE(clipped);
    EXPECT_EQ(saturateTrunc(4095.9, 0, 4095, 2048, &clipped), 4095);
    EXPECT_FALSE(clipped) << "truncates into range";
    EXPECT_EQ(saturateTrunc(4096.0, 0, 4095, 2048, &clipped), 4095);
    EXPECT_TRUE(clipped);
    clipped = false;
    EXPECT_EQ(saturateTrunc(-1.0, 0, 4095, 2048, &clipped), 0);
    EXPECT_TRUE(clipped);
}

TEST(Saturate, NanGivesTheMidCodeAndInfinityClips) {
    bool clipped = false;
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(saturateTrunc(std::nan(""), 0, 65535, 32768, &clipped), 32768);
    EXPECT_FALSE(clipped);
    EXPECT_EQ(saturateTrunc(inf, 0, 65535, 32768, &clipped), 65535);
    EXPECT_TRUE(clipped);
    EXPECT_EQ(saturateTrunc(-inf, 0, 65535, 32768), 0);
    EXPECT_EQ(saturateTrunc(1e300, 0, 65535, 32768), 65535);
    EXPECT_EQ(toInt32(1e12), INT32_MAX);
    EXPECT_EQ(toInt32(-1e12), INT32_MIN);
}

TEST(Saturate, RoundsHalfAwayFromZero) {
    EXPECT_EQ(saturateRound(2.5, -10, 10, 0), 3);
    EXPECT_EQ(saturateRound(-2.5, -10, 10, 0), -3);
    EXPECT_EQ(saturateRound(2.49, -10, 10, 0), 2);
}
