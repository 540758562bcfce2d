#include "workspace/core/zoom.h"

#include <gtest/gtest.h>

#include <optional>

using namespace plotwell::workspace;

namespace {

// The new window's client area: plot 210 x 176 at (40, 15).
const PlotLayout kWindow = plotLayout(274, 211);
// The overview's client area: plot 220 x 104 at (1, 2).
const PlotLayout kOverview = overviewLayout(222, 108);

} // namespace

namespace plotwell::workspace {
void PrintTo(const View& v, std::ostream* os) {
    *os << v.first << ".." << v.last << " x " << v.min << ".." << v.max;
}
} // namespace plotwell::workspace

TEST(Zoom, BandSelectsTheView) {
    const std::optional<View> none;
    const View outer{99, 499, -1, 1535};
    struct Row {
        const char* what;
        int n, r;
        Band band;
        std::optional<View> current, expected;
    };
    const Row rows[] = {
        {"band over the whole waveform", 1000, 2048, {61, 37, 145, 103}, none, View{99, 499, -1, 1535}},
        {"corners in any order", 1000, 2048, {145, 103, 61, 37}, none, View{99, 499, -1, 1535}},
        {"a band inside the view", 1000, 2048, {61, 37, 145, 103}, outer, View{139, 299, 767, 1343}},
        {"narrower than 100 points", 1000, 2048, {61, 37, 70, 103}, none, View{99, 198, -1, 1535}},
        {"100 points at the right end", 1000, 2048, {240, 37, 250, 103}, none, View{900, 999, -1, 1535}},
        {"100 points from the left edge", 1000, 2048, {30, 37, 45, 103}, none, View{0, 99, -1, 1535}},
        {"100 units at the top", 1000, 64, {61, 15, 145, 30}, none, View{99, 499, -37, 63}},
        {"100 units from the bottom", 1000, 64, {61, 170, 145, 191}, none, View{99, 499, -64, 36}},
        {"5 px wide zooms nothing", 1000, 2048, {61, 37, 66, 103}, none, none},
        {"5 px high zooms nothing", 1000, 2048, {61, 37, 145, 42}, outer, none},
        {"99 points cannot zoom", 99, 2048, {61, 37, 145, 103}, none, none},
        {"100 points zoom", 100, 2048, {61, 37, 145, 103}, none, View{0, 99, -1, 1535}},
        {"reference 49 cannot zoom", 1000, 49, {61, 37, 145, 103}, none, none},
        {"reference 50 zooms", 1000, 50, {61, 37, 145, 103}, none, View{99, 499, -50, 49}},
        {"6 px wide and high zooms", 1000, 2048, {61, 37, 67, 43}, none, View{99, 198, 1395, 1535}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(bandView(row.band, kWindow, row.n, row.r, row.current), row.expected);
    }
}

TEST(Zoom, BandOnAPlotWithoutPixelsDoesNothing) {
    const PlotLayout tiny = plotLayout(15, 15);
    ASSERT_EQ(tiny.PlotWidth, 0);
    EXPECT_EQ(bandView({0, 0, 12, 12}, tiny, 1000, 2048, std::nullopt), std::nullopt);
}

TEST(Zoom, ZoomOutDoublesAboutTheCentre) {
    const std::optional<View> full;
    struct Row {
        const char* what;
        View view;
        std::optional<View> expected;
    };
    const Row rows[] = {
        {"both spans double", {139, 299, 767, 1343}, View{59, 379, 479, 1631}},
        {"shifted right at point 0", {0, 160, 767, 1343}, View{0, 320, 479, 1631}},
        {"shifted left at the last point", {900, 999, 767, 1343}, View{802, 999, 479, 1631}},
        {"shifted down at the top", {139, 299, 1847, 2047}, View{59, 379, 1647, 2047}},
        {"shifted up at the bottom", {139, 299, -2048, -1848}, View{59, 379, -2048, -1648}},
        {"x cannot grow: all points", {0, 600, 0, 200}, View{0, 999, -100, 300}},
        {"y cannot grow: the full range", {139, 299, -1000, 1100}, View{59, 379, -2048, 2047}},
        {"neither grows: zoom full", {0, 600, -2048, 2047}, full},
        {"half the points and the full range: zoom full", {0, 500, -2048, 2047}, full},
        {"all points and half the range: zoom full", {0, 600, -1000, 1048}, full},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(zoomOutView(row.view, 1000, 2048), row.expected);
    }
}

TEST(Zoom, ViewFollowsTheData) {
    struct Row {
        const char* what;
        View view;
        int n;
        std::optional<View> expected;
    };
    const Row rows[] = {
        {"inside stays", {100, 300, -5, 200}, 1000, View{100, 300, -5, 200}},
        {"past a shortened end shifts left", {500, 900, -5, 200}, 600, View{199, 599, -5, 200}},
        {"wider than the data covers it", {0, 900, -5, 200}, 500, View{0, 499, -5, 200}},
        {"ending on the last point stays", {500, 599, -5, 200}, 600, View{500, 599, -5, 200}},
        {"one past the last point shifts left", {500, 600, -5, 200}, 600, View{499, 599, -5, 200}},
        {"one before point 0 shifts right", {-1, 200, -5, 200}, 1000, View{0, 201, -5, 200}},
        {"ending on the top code stays", {100, 300, 1900, 2047}, 1000, View{100, 300, 1900, 2047}},
        {"one above the top code shifts down", {100, 300, 1900, 2048}, 1000, View{100, 300, 1899, 2047}},
        {"one below the lowest code shifts up", {100, 300, -2049, 0}, 1000, View{100, 300, -2048, 1}},
        {"100 points: still zoomed", {0, 99, -5, 200}, 100, View{0, 99, -5, 200}},
        {"fewer than 100 points: whole waveform", {0, 99, -5, 200}, 99, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(clampView(row.view, row.n, 2048), row.expected);
    }
}

TEST(Overview, LayoutAndBox) {
    EXPECT_EQ(kOverview.PlotWidth, 220);
    EXPECT_EQ(kOverview.PlotHeight, 104);
    EXPECT_EQ(overviewDivisor(2048, false), 4096);
    EXPECT_EQ(overviewDivisor(2048, true), 4095);
    EXPECT_EQ(overviewDivisor(1, false), 65536);

    const Box box = overviewBox({99, 499, -1, 1535}, kOverview, 1000, 2048, 4096);
    EXPECT_EQ(box, (Box{22, 15, 110, 54}));
    EXPECT_FALSE(isSmallBox(box));
    EXPECT_TRUE(boxGrabbed(box, 22, 54));
    EXPECT_FALSE(boxGrabbed(box, 21, 30));

    // A box under 10 px is marked by a circle and can be grabbed 7 px outside.
    const Box small = overviewBox({0, 99, 0, 100}, kOverview, 100000, 2048, 4096);
    EXPECT_TRUE(isSmallBox(small));
    EXPECT_TRUE(boxGrabbed(small, small.right + 7, small.top - 7));
    EXPECT_FALSE(boxGrabbed(small, small.right + 8, small.top));
    EXPECT_FALSE(isSmallBox({0, 0, 10, 10}));
}

TEST(Overview, DraggedBoxStaysInsideTheClientArea) {
    const Box box{22, 15, 110, 54};
    struct Row {
        int x, y;
        Box expected;
    };
    // Grabbed 8 px right of its left edge and 5 px below its top.
    const Row rows[] = {
        {40, 30, {32, 25, 120, 64}},   {0, 20, {1, 15, 89, 54}}, // left edge at 1
        {300, 20, {133, 15, 221, 54}},                           // right edge at client width - 1
        {40, 0, {32, 2, 120, 41}},                               // top at 2
        {40, 200, {32, 67, 120, 106}},                           // bottom at client height - 2
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.x << ", " << row.y);
        EXPECT_EQ(dragBox(box, row.x, row.y, 8, 5, 222, 108), row.expected);
    }
}

TEST(Overview, ReleasedBoxPansTheView) {
    const View old{99, 499, -1, 1535};
    struct Row {
        const char* what;
        Box box;
        View old;
        std::optional<View> expected;
    };
    const Row rows[] = {
        {"at the left edge: from point 0, same span", {1, 15, 89, 54}, old, View{0, 400, 0, 1535}},
        {"at the right edge: to the last point", {133, 15, 221, 54}, old, View{599, 999, 0, 1535}},
        {"right edge on the plot's width: to the last point",
         {132, 15, 220, 54},
         old,
         View{599, 999, 0, 1535}},
        {"one pixel in from the left edge", {2, 15, 90, 54}, old, View{4, 404, 0, 1535}},
        {"in between", {50, 15, 138, 54}, old, View{222, 622, 0, 1535}},
        // Two pixels high: the values its edges give, a span under 100.
        {"a low box moved sideways", {90, 48, 112, 50}, {270, 369, 130, 230}, View{404, 503, 157, 235}},
        {"a low box moved to the top left", {1, 2, 23, 4}, {270, 369, 130, 230}, View{0, 99, 1968, 2047}},
        // A collapsed box gets its 100 first; the clamp then keeps it within the data.
        {"collapsed in the top right corner",
         {221, 2, 221, 2},
         {999, 999, 2047, 2047},
         View{899, 999, 1947, 2047}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(boxView(row.box, row.old, kOverview, 1000, 2048, 4096), row.expected);
    }
    EXPECT_EQ(boxView({1, 15, 89, 54}, old, overviewLayout(8, 3), 1000, 2048, 4096), std::nullopt);
}
