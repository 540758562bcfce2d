#include "workspace/core/levels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace plotwell::workspace;

namespace {
std::vector<uint16_t> codesOf(std::initializer_list<int> values, int mid) {
    std::vector<uint16_t> out;
    for (int v : values)
        out.push_back(uint16_t(v + mid));
    return out;
}
std::vector<int> valuesOf(const std::vector<uint16_t>& codes, int mid) {
    std::vector<int> out;
    for (uint16_t c : codes)
        out.push_back(int(c) - mid);
    return out;
}
} // namespace

TEST(LevelCommands, PkPkCentresAndStretchesToTheRangeEnds) {
    // -100..300 about R' 2048: shift -100, gain 10.24; the top is clamped from 2048.
    auto codes = codesOf({-100, 0, 100, 300}, 2048);
    const auto r = amplitudeToMaxPkPk(codes, 2048, -100, 300);
    EXPECT_DOUBLE_EQ(r.gain, 10.24);
    EXPECT_TRUE(r.marks);
    EXPECT_EQ(valuesOf(codes, 2048), (std::vector<int>{-2048, -1024, 0, 2047}));
}

TEST(LevelCommands, MaxPeakScalesANegativeExtremeToMinusMidExactly) {
    auto codes = codesOf({-400, 100, 200, -1}, 2048);
    const auto r = amplitudeToMaxPeak(codes, 2048, 400);
    EXPECT_DOUBLE_EQ(r.gain, 5.12);
    EXPECT_EQ(valuesOf(codes, 2048), (std::vector<int>{-2048, 512, 1024, -5}));
}

TEST(LevelCommands, MaxPeakClampsThePositiveEndAndTruncatesTowardZero) {
    auto codes = codesOf({3, -3, 1}, 32768);
    amplitudeToMaxPeak(codes, 32768, 3);
    EXPECT_EQ(valuesOf(codes, 32768), (std::vector<int>{32767, -32768, 10922}));
}

TEST(LevelCommands, GainOfOneLeavesTheWindowUnmarked) {
    auto codes = codesOf({-2048, 5}, 2048);
    const auto r = amplitudeToMaxPeak(codes, 2048, 2048);
    EXPECT_FALSE(r.marks);
    EXPECT_EQ(valuesOf(codes, 2048), (std::vector<int>{-2048, 5}));
}

TEST(LevelCommands, FlatSelectionsGiveTheStatedResultsWithoutNaN) {
    // Peak 0: every value 0 stays, nothing is marked.
    auto zeros = codesOf({0, 0, 0}, 2048);
    const auto peak = amplitudeToMaxPeak(zeros, 2048, 0);
    EXPECT_TRUE(std::isinf(peak.gain));
    EXPECT_FALSE(peak.marks);
    EXPECT_EQ(valuesOf(zeros, 2048), (std::vector<int>{0, 0, 0}));
    // Range 0: the shift alone applies, every sample goes to the mid code.
    auto flat = codesOf({700, 700}, 2048);
    const auto pkpk = amplitudeToMaxPkPk(flat, 2048, 700, 700);
    EXPECT_TRUE(pkpk.marks);
    EXPECT_EQ(valuesOf(flat, 2048), (std::vector<int>{0, 0}));
    auto mid = codesOf({0, 0}, 2048);
    EXPECT_FALSE(amplitudeToMaxPkPk(mid, 2048, 0, 0).marks);
}

TEST(LevelCommands, AGainOfOneThatStillMovesCodesMarksTheWindow) {
    // Codes past the mid code's range: the top one is clamped although the gain is 1.
    auto high = codesOf({2048, -5}, 2048);
    EXPECT_TRUE(amplitudeToMaxPeak(high, 2048, 2048).marks);
    EXPECT_EQ(valuesOf(high, 2048), (std::vector<int>{2047, -5}));
    // A range of exactly 2R' gives gain 1, but the shift still moves every code.
    auto wide = codesOf({-1000, 3096}, 2048);
    const auto r = amplitudeToMaxPkPk(wide, 2048, -1000, 3096);
    EXPECT_DOUBLE_EQ(r.gain, 1.0);
    EXPECT_TRUE(r.marks);
    EXPECT_EQ(valuesOf(wide, 2048), (std::vector<int>{-2048, 2047}));
}
