#include "workspace/core/plot_layout.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace plotwell::workspace;

TEST(PlotLayout, ClientSizesGiveMarginsCellsAndPlot) {
    struct Row {
        int w, h;
        int margin; // left margin; 5 means all four are 5
        bool labels;
        float cellW, cellH;
        int plotW, plotH;
    };
    const Row rows[] = {
        {274, 211, 40, true, 21, 22, 210, 176}, // the new window's client area
        {1600, 500, 40, true, 154, 58, 1540, 464},
        {100, 70, 40, true, 4, 4, 40, 32},   // just not small
        {99, 200, 5, false, 8, 23, 80, 184}, // too narrow
        {200, 69, 5, false, 19, 7, 190, 56}, // too low
        {8, 8, 5, false, 0, 0, 0, 0},        // no room for a cell: cells of 0, never negative
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.w << " x " << r.h);
        const PlotLayout l = plotLayout(r.w, r.h);
        EXPECT_EQ(l.MarginLeft, r.margin);
        if (r.margin == 5) {
            EXPECT_EQ(l.MarginRight, 5);
            EXPECT_EQ(l.MarginTop, 5);
            EXPECT_EQ(l.MarginBottom, 5);
        } else {
            EXPECT_EQ(l.MarginRight, 15);
            EXPECT_EQ(l.MarginTop, 15);
            EXPECT_EQ(l.MarginBottom, 20);
        }
        EXPECT_EQ(l.AxisLabelsShown, r.labels);
        EXPECT_EQ(l.GridCellWidth, r.cellW);
        EXPECT_EQ(l.GridCellHeight, r.cellH);
        EXPECT_EQ(l.PlotWidth, r.plotW);
        EXPECT_EQ(l.PlotHeight, r.plotH);
    }
}

TEST(PlotLayout, TraceYForEachReferenceAndUnsignedDisplay) {
    const PlotLayout l = plotLayout(274, 211); // MarginTop 15, PlotHeight 176
    struct Row {
        uint16_t r;
        bool unsignedDisplay;
        AxisRange axis;
        double divisor;
        uint16_t code;
        int y;
    };
    const Row rows[] = {
        {2048, false, {2047, -2048}, 4096, 0, 191},         {2048, false, {2047, -2048}, 4096, 2048, 103},
        {2048, false, {2047, -2048}, 4096, 4095, 15},       {1, false, {32767, -32768}, 65536, 0, 191},
        {1, false, {32767, -32768}, 65536, 32768, 103},     {1, false, {32767, -32768}, 65536, 65535, 15},
        {32768, false, {32767, -32768}, 65536, 16384, 147}, {2048, true, {4095, 0}, 4095, 0, 191},
        {2048, true, {4095, 0}, 4095, 2048, 102},           {2048, true, {4095, 0}, 4095, 4095, 15},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message()
                     << "R " << r.r << " unsigned " << r.unsignedDisplay << " code " << r.code);
        EXPECT_EQ(axisRange(r.r, r.unsignedDisplay), r.axis);
        EXPECT_EQ(traceDivisor(r.r, r.unsignedDisplay), r.divisor);
        EXPECT_EQ(traceY(r.code, r.divisor, l), r.y);
    }
    // A broken reference word of 0 has no divisor; the mapping stays defined.
    EXPECT_NO_FATAL_FAILURE(traceY(0, traceDivisor(0, false), l));
}

TEST(PlotLayout, UnzoomedLabelTextsAndPlaces) {
    const PlotLayout l = plotLayout(274, 211);
    const std::vector<AxisLabel> signed12 = {
        {3, 11, " +2047"}, {5, 184, " -2048"}, {3, 96, "      0"}, {40, 196, "0"}, {223, 196, "   999"}};
    EXPECT_EQ(unzoomedLabels(l, 2048, false, 1000), signed12);
    const std::vector<AxisLabel> unsigned12 = {
        {3, 11, " +4095"}, {3, 184, "    +0"}, {3, 96, " +2048"}, {40, 196, "0"}, {223, 196, "   999"}};
    EXPECT_EQ(unzoomedLabels(l, 2048, true, 1000), unsigned12);
    const std::vector<AxisLabel> normalised = {
        {3, 11, "    +1"}, {5, 184, "    -1"}, {3, 96, "      0"}, {40, 196, "0"}, {223, 196, "1048575"}};
    EXPECT_EQ(unzoomedLabels(l, 1, false, 1048576), normalised);
}

TEST(PlotLayout, ZoomedAndBitPatternLabels) {
    const PlotLayout l = plotLayout(274, 211);
    const std::vector<AxisLabel> zoomed = {
        {5, 184, "  -500"}, {3, 96, "   +50"}, {30, 196, "   100"}, {223, 196, "   499"}};
    auto z = zoomedLabels(l, 2048, false, 100, 499, -500, 600);
    EXPECT_EQ(z[0], (AxisLabel{3, 11, "  +600"}));
    EXPECT_EQ(std::vector<AxisLabel>(z.begin() + 1, z.end()), zoomed);
    // Normalised views divide by 32767; unsigned windows still show values when zoomed.
    auto n = zoomedLabels(l, 1, true, 0, 99, -32767, 16383);
    EXPECT_EQ(n[0].text, "+0.500");
    EXPECT_EQ(n[1], (AxisLabel{3, 184, "-1.000"}));
    EXPECT_EQ(n[2].text, "-0.250");
    const std::vector<AxisLabel> bits = {
        {3, 11, "Hi"}, {3, 184, "Lo"}, {30, 196, "     0"}, {223, 196, "    63"}};
    EXPECT_EQ(bitPatternLabels(l, 0, 63), bits);
}

TEST(PlotLayout, ZoomAreaRuleAndUsableViews) {
    EXPECT_TRUE(zoomAreaAllowed(100, 50));
    EXPECT_TRUE(zoomAreaAllowed(100, 1));
    EXPECT_FALSE(zoomAreaAllowed(99, 2048));
    EXPECT_FALSE(zoomAreaAllowed(1000, 49));
    EXPECT_FALSE(zoomAreaAllowed(1000, 2));
    EXPECT_TRUE(zoomedViewUsable(true, 0, 999, -1, 1, 1000));
    EXPECT_FALSE(zoomedViewUsable(false, 0, 999, -1, 1, 1000));
    EXPECT_FALSE(zoomedViewUsable(true, 0, 1000, -1, 1, 1000)); // past the end after a cut
    EXPECT_FALSE(zoomedViewUsable(true, -1, 10, -1, 1, 1000));
    EXPECT_FALSE(zoomedViewUsable(true, 5, 5, -1, 1, 1000));
    EXPECT_FALSE(zoomedViewUsable(true, 0, 10, 1, 1, 1000));
}

TEST(PlotLayout, CursorPixelsAndIndicesAre64Bit) {
    const PlotLayout small = plotLayout(274, 211);
    const CursorSpan thousand{false, 0, 0, 1000};
    EXPECT_EQ(cursorX(100, thousand, small), 61);
    EXPECT_EQ(cursorX(899, thousand, small), 228);
    EXPECT_EQ(cursorX(999, thousand, small), 250);

    // A million points on a plot 2,100 px wide: index x pixel needs more than 32 bits.
    const PlotLayout wide = plotLayout(2155, 500);
    ASSERT_EQ(wide.PlotWidth, 2100);
    const CursorSpan million{false, 0, 0, 1048576};
    EXPECT_EQ(cursorX(1048575, million, wide), 40 + 2100);
    EXPECT_EQ(cursorX(524288, million, wide), 40 + 1050);
    EXPECT_EQ(cursorX(1048574, million, wide), 40 + 2099);
    EXPECT_EQ(endIndexAt(40 + 2100, million, wide), 1048575);
    EXPECT_EQ(endIndexAt(40 + 1050, million, wide), 524287);
    EXPECT_EQ(startIndexAt(40 - 12, 12, million, wide), 0);
    EXPECT_EQ(startIndexAt(40 + 2100 - 12, 12, million, wide), 1048575);

    // Zoomed: relative to the view and clamped to the plot.
    const CursorSpan view{true, 1000, 1999, 1048576};
    EXPECT_EQ(cursorX(1000, view, wide), 40);
    EXPECT_EQ(cursorX(1999, view, wide), 2140);
    EXPECT_EQ(cursorX(0, view, wide), 40);
    EXPECT_EQ(cursorX(1048575, view, wide), 2140);
    EXPECT_EQ(endIndexAt(40 + 1050, view, wide), 1000 + 1050 * 999 / 2100);

    // One point has no span: the cursors sit on the left edge, nothing divides by 0.
    EXPECT_EQ(cursorX(0, CursorSpan{false, 0, 0, 1}, small), 40);
    EXPECT_EQ(endIndexAt(100, thousand, plotLayout(8, 8)), 0);
}
