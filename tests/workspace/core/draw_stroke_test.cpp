#include "workspace/core/draw_stroke.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace plotwell::workspace;

namespace {

// 1000 points of reference 2048 in the new window's plot (210 x 176 at (40, 15)).
DrawMapping mapping(std::optional<View> view = std::nullopt, uint16_t r = 2048) {
    DrawMapping m;
    m.layout = plotLayout(274, 211);
    m.pointCount = 1000;
    m.midCode = r == 1 ? 32768 : r;
    m.normalised = r == 1;
    m.view = view;
    return m;
}

} // namespace

TEST(DrawStroke, PixelsMapToIndicesAndCodes) {
    const View view{99, 499, -1, 1535};
    struct Row {
        int x, y;
        std::optional<View> view;
        int32_t index, code;
    };
    const Row rows[] = {
        {40, 15, std::nullopt, 0, 4095},  // top left of the plot
        {250, 191, std::nullopt, 999, 0}, // bottom right
        {61, 103, std::nullopt, 99, 2047}, {40, 191, view, 99, 2047},
        {145, 103, view, 299, 2815},       {250, 15, view, 499, 3583},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.x << ", " << r.y);
        EXPECT_EQ(drawIndex(r.x, mapping(r.view)), r.index);
        EXPECT_EQ(drawCode(r.y, mapping(r.view)), r.code);
    }
}

TEST(DrawStroke, PlotReachesTwoPixelsBeyondItsEdges) {
    const PlotLayout l = plotLayout(274, 211);
    EXPECT_TRUE(inDrawPlot(38, 13, l));
    EXPECT_TRUE(inDrawPlot(252, 193, l));
    EXPECT_FALSE(inDrawPlot(37, 100, l));
    EXPECT_FALSE(inDrawPlot(100, 194, l));
    EXPECT_FALSE(inDrawPlot(253, 100, l));
    EXPECT_FALSE(inDrawPlot(100, 12, l));
}

TEST(DrawStroke, CoordinatesReadOut) {
    const View view{99, 499, -1, 1535};
    EXPECT_EQ(coordinatesText(61, 103, mapping()), "X = 99  Y = -1");
    EXPECT_EQ(coordinatesText(61, 103, mapping(view)), "X: 139  Y: 767");
    // Beyond the plot the read-out stays at the range's ends.
    EXPECT_EQ(coordinatesText(252, 13, mapping()), "X = 999  Y = 2047");
    EXPECT_EQ(coordinatesText(38, 193, mapping(view)), "X: 99  Y: -1");
    EXPECT_EQ(coordinatesText(40, 15, mapping(std::nullopt, 1)), "X = 0  Y = +1.000");
}

TEST(DrawStroke, ShiftSnapsToAnAxis) {
    const PixelPoint last{100, 100};
    struct Row {
        const char* what;
        PixelPoint p;
        int ratio;
        PixelPoint expected;
    };
    const Row rows[] = {
        {"15 degrees: horizontal", {200, 73}, kPointerVerticalRatio, {200, 100}},
        {"15 degrees, click: horizontal", {200, 73}, kClickVerticalRatio, {200, 100}},
        {"25 degrees: no snap", {200, 53}, kPointerVerticalRatio, {200, 53}},
        {"70 degrees, pointer: vertical", {136, 1}, kPointerVerticalRatio, {100, 1}},
        {"70 degrees, click: no snap", {136, 1}, kClickVerticalRatio, {136, 1}},
        {"50 degrees, pointer: no snap", {150, 40}, kPointerVerticalRatio, {150, 40}},
        {"73 degrees, click: no snap", {130, 1}, kClickVerticalRatio, {130, 1}},
        {"80 degrees, click: vertical", {80, 214}, kClickVerticalRatio, {100, 214}},
        {"on the last point's row: unchanged", {180, 100}, kPointerVerticalRatio, {180, 100}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(snapToAxis(last, r.p, r.ratio), r.expected);
    }
}

TEST(DrawStroke, SingleSampleLinesWidenByOne) {
    const std::vector<uint16_t> codes{10, 11, 12, 13, 14, 15};
    EXPECT_EQ(widenSingleSample({0, 0, 500, 600}, codes), (Stroke{0, 1, 500, 11}));
    EXPECT_EQ(widenSingleSample({4, 4, 500, 600}, codes), (Stroke{3, 4, 13, 600}));
    EXPECT_EQ(widenSingleSample({1, 1, 500, 600}, codes), (Stroke{0, 1, 10, 600}));
    EXPECT_EQ(widenSingleSample({1, 4, 500, 600}, codes), (Stroke{1, 4, 500, 600}));
}

TEST(DrawStroke, StrokeFillsEverySampleBetweenItsEnds) {
    // More points than pixels: one stroke covers thousands of samples.
    std::vector<uint16_t> codes(10000, 0xFFFF);
    const auto written = writeStroke({1000, 9000, 50, 4050}, codes, 2048);
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, (Stroke{1000, 9000, 50, 4050}));
    for (int i = 0; i < 10000; ++i) {
        const int expected = i < 1000 || i > 9000 ? 0xFFFF : 50 + (i - 1000) / 2;
        ASSERT_EQ(codes[std::size_t(i)], expected) << "sample " << i;
    }
}

TEST(DrawStroke, ReversedStrokeWritesTheSameSamples) {
    std::vector<uint16_t> forward(1000, 7), reversed(1000, 7);
    writeStroke({100, 337, 3000, 17}, forward, 2048);
    writeStroke({337, 100, 17, 3000}, reversed, 2048);
    EXPECT_EQ(forward, reversed);
}

TEST(DrawStroke, EndsAreKeptWithinTheSamplesAndCodes) {
    std::vector<uint16_t> codes(100, 7);
    const auto written = writeStroke({-20, 150, -5, 5000}, codes, 2048);
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, (Stroke{0, 99, 0, 4095}));
    EXPECT_EQ(codes.front(), 0);
    EXPECT_EQ(codes.back(), 4095);
}

TEST(DrawStroke, TinyDataWritesOneSampleOrNothing) {
    std::vector<uint16_t> one{5};
    const Stroke widened = widenSingleSample({0, 0, 900, 900}, one);
    const auto written = writeStroke(widened, one, 2048);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->startIndex, written->endIndex);
    EXPECT_EQ(one[0], 900);
    std::vector<uint16_t> none;
    EXPECT_EQ(writeStroke({0, 3, 1, 2}, none, 2048), std::nullopt);
}
