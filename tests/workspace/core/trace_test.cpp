#include "workspace/core/trace.h"

#include "platform/canvas/canvas_recording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

using namespace plotwell::workspace;
using plotwell::platform::CanvasCall;
using plotwell::platform::PenMode;
using plotwell::platform::PenStyle;
using plotwell::platform::RecordingCanvas;

namespace {
const PlotLayout kWindow = plotLayout(274, 211); // ML 40, MT 15, PW 210, PH 176

struct Seg {
    int x1, y1, x2, y2;
    bool operator==(const Seg&) const = default;
};
std::vector<Seg> segs(const std::vector<CanvasCall>& calls) {
    std::vector<Seg> out;
    for (const auto& c : calls)
        out.push_back({c.x1, c.y1, c.x2, c.y2});
    return out;
}
} // namespace

TEST(Trace, GridHasElevenColumnsAndNineRowsWithSolidOuterAndMiddleLines) {
    RecordingCanvas c;
    drawGrid(c, kWindow);
    const auto lines = c.lines();
    ASSERT_EQ(lines.size(), 20u);
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(segs({lines[i]})[0], (Seg{40 + 21 * i, 15, 40 + 21 * i, 191}));
        EXPECT_EQ(lines[i].pen.style, i % 5 == 0 ? PenStyle::Solid : PenStyle::Dot);
        EXPECT_EQ(lines[i].pen.color, 0x808080u);
        EXPECT_EQ(lines[i].pen.mode, PenMode::Copy);
    }
    for (int j = 0; j <= 8; ++j) {
        EXPECT_EQ(segs({lines[11 + j]})[0], (Seg{40, 15 + 22 * j, 250, 15 + 22 * j}));
        EXPECT_EQ(lines[11 + j].pen.style, j % 4 == 0 ? PenStyle::Solid : PenStyle::Dot);
    }
}

TEST(Trace, SpikeInsideAColumnIsDrawnAtFullHeight) {
    // 1000 points over 210 columns, flat at the middle but for one sample at the top.
    std::vector<uint16_t> p(1000, 2048);
    p[503] = 4095;
    RecordingCanvas c;
    drawMinMaxTrace(c, p, kWindow, 4096);
    const auto lines = c.lines();
    const bool reachesTop = std::any_of(lines.begin(), lines.end(), [](const CanvasCall& l) {
        return l.x1 == l.x2 && std::min(l.y1, l.y2) == 15 && std::max(l.y1, l.y2) == 103;
    });
    EXPECT_TRUE(reachesTop);
    // A few calls per column, never one per point.
    EXPECT_LE(lines.size(), 4u * 210u);
    // The last point falls into the last column: a flat end needs no stroke there.
    EXPECT_EQ(lines.back().x2, 249);
}

TEST(Trace, EveryColumnShowsTheExtremesOfItsSamples) {
    // A saw-tooth of period 7 over 2100 points into 210 columns: each column holds 10
    // samples, so each must stroke from the lowest to the highest code.
    std::vector<uint16_t> p(2100);
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = uint16_t(1000 + (i % 7) * 100);
    RecordingCanvas c;
    drawMinMaxTrace(c, p, kWindow, 4096);
    std::set<int> full;
    for (const auto& l : c.lines())
        if (l.x1 == l.x2 && std::min(l.y1, l.y2) == traceY(1600, 4096, kWindow) &&
            std::max(l.y1, l.y2) == traceY(1000, 4096, kWindow))
            full.insert(l.x1);
    EXPECT_EQ(full.size(), 210u);
}

TEST(Trace, FewerPointsThanColumnsJoinsThePoints) {
    // Three points over 210 columns: each point's level runs to the next point's column,
    // where a stroke joins it to the next level.
    const std::vector<uint16_t> p = {2048, 4095, 0};
    RecordingCanvas c;
    drawMinMaxTrace(c, p, kWindow, 4096);
    const std::vector<Seg> expected = {
        {40, 103, 110, 103},  {110, 103, 110, 15}, {110, 15, 110, 15},   // to x(1), up to p(1)
        {110, 15, 180, 15},   {180, 15, 180, 191}, {180, 191, 180, 191}, // to x(2), down to p(2)
        {180, 191, 250, 191},                                            // to the end
    };
    EXPECT_EQ(segs(c.lines()), expected);
    EXPECT_EQ(c.calls.front().pen.color, c.calls.back().pen.color);
}

TEST(Trace, CodesAboveTheTopAreKeptOnTheTopEdge) {
    const std::vector<uint16_t> p = {60000, 60000, 60000};
    RecordingCanvas c;
    drawMinMaxTrace(c, p, kWindow, 4096); // 12-bit scale, codes far above 4095
    // Only the first point keeps its own y (its level runs to the next column); from there
    // on the trace goes along the top edge.
    const auto lines = c.lines();
    ASSERT_GT(lines.size(), 2u);
    EXPECT_LT(lines.front().y1, 15);
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].y2, 15);
}

TEST(Trace, ZoomedTraceMovesAlongOutsideAndDrawsJumpsAcross) {
    // View -100..100 of a 12-bit window; values: inside, above, above, below, above.
    const int32_t mid = 2048;
    const std::vector<uint16_t> p = {2048, 3000, 3000, 0, 3000};
    RecordingCanvas c;
    drawZoomedTrace(c, p, mid, -100, 100, kWindow);
    const auto lines = c.lines();
    // inside -> above: a line up to the top edge; above -> above: the pen only moves, so
    // nothing is drawn between the two above points at the top edge.
    for (const auto& l : lines)
        EXPECT_FALSE(l.y1 == 15 && l.y2 == 15 && l.x1 != l.x2) << l.x1 << " -> " << l.x2;
    // below -> above: a vertical line across the whole plot.
    const bool across = std::any_of(lines.begin(), lines.end(), [](const CanvasCall& l) {
        return l.x1 == l.x2 && std::min(l.y1, l.y2) == 15 && std::max(l.y1, l.y2) == 191;
    });
    EXPECT_TRUE(across);
}

TEST(Trace, PreviewLinesSolidAgainstDashedAtTheirThresholds) {
    struct Row {
        uint16_t r;
        int32_t amplitude, offset;
        PenStyle upperStyle;
        int upperY;
        PenStyle lowerStyle;
        int lowerY;
    };
    const Row rows[] = {
        {2048, 2047, 0, PenStyle::Dash, 15, PenStyle::Dash, 190}, // within R'-1 and -R'
        {2048, 2048, 1, PenStyle::Solid, 15, PenStyle::Dash, 190},
        {2048, 2048, 0, PenStyle::Solid, 15, PenStyle::Dash, 191},  // upper above R'-1
        {2048, 2049, 0, PenStyle::Solid, 15, PenStyle::Solid, 191}, // lower below -R'
        {2048, 1024, 0, PenStyle::Dash, 59, PenStyle::Dash, 147},
        {1, 32767, 0, PenStyle::Dash, 15, PenStyle::Dash, 190}, // divisor 2R'+2
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "R " << r.r << " amplitude " << r.amplitude);
        RecordingCanvas c;
        drawPreviewLines(c, kWindow, r.r == 1 ? 32768 : r.r, r.amplitude, r.offset);
        const auto lines = c.lines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(segs({lines[0]})[0], (Seg{40, r.upperY, 250, r.upperY}));
        EXPECT_EQ(lines[0].pen.style, r.upperStyle);
        EXPECT_EQ(segs({lines[1]})[0], (Seg{40, r.lowerY, 250, r.lowerY}));
        EXPECT_EQ(lines[1].pen.style, r.lowerStyle);
        for (const auto& l : lines) {
            EXPECT_EQ(l.pen.mode, PenMode::Merge);
            EXPECT_EQ(l.pen.color, 0xFF0000u);
        }
    }
    RecordingCanvas none;
    drawPreviewLines(none, kWindow, 2048, 0, 500);
    EXPECT_TRUE(none.calls.empty());
}

TEST(Trace, ZoomedPreviewLinesCompareInclusively) {
    RecordingCanvas edge;
    drawZoomedPreviewLines(edge, kWindow, -1000, 1000, 1000, 0);
    ASSERT_EQ(edge.lines().size(), 2u);
    EXPECT_EQ(edge.lines()[0].pen.style, PenStyle::Solid);
    EXPECT_EQ(edge.lines()[0].y1, 15);
    EXPECT_EQ(edge.lines()[1].pen.style, PenStyle::Solid);
    EXPECT_EQ(edge.lines()[1].y1, 191);
    RecordingCanvas inside;
    drawZoomedPreviewLines(inside, kWindow, -1000, 1000, 500, 0);
    EXPECT_EQ(inside.lines()[0].pen.style, PenStyle::Dash);
    EXPECT_EQ(inside.lines()[0].y1, 59);
    EXPECT_EQ(inside.lines()[1].y1, 147);
}

TEST(Trace, ShadingTogglesOnlyTheColumnsBetweenOldAndNewEdges) {
    auto columns = [](const RecordingCanvas& c) {
        std::vector<int> xs;
        for (const auto& l : c.lines()) {
            EXPECT_EQ(l.x1, l.x2);
            EXPECT_EQ(l.y1, 15);
            EXPECT_EQ(l.y2, 191);
            xs.push_back(l.x1);
        }
        return xs;
    };
    RecordingCanvas c;
    int32_t start = 40, end = 250;
    moveShadeStart(c, kWindow, start, 61);
    moveShadeEnd(c, kWindow, end, 228);
    std::vector<int> expected;
    for (int x = 41; x <= 61; ++x)
        expected.push_back(x);
    for (int x = 249; x >= 228; --x)
        expected.push_back(x);
    EXPECT_EQ(columns(c), expected);
    EXPECT_EQ(start, 61);
    EXPECT_EQ(end, 228);

    c.clear();
    moveShadeStart(c, kWindow, start, 58); // back by three: the three columns go
    moveShadeEnd(c, kWindow, end, 230);    // right by two: two columns go
    EXPECT_EQ(columns(c), (std::vector<int>{61, 60, 59, 228, 229}));
}

TEST(Trace, BitPatternShowsHiLoAndNoGridAlsoInASmallWindow) {
    const std::vector<uint16_t> p = {0xFFFF, 0, 0xFFFF, 0};
    GraphInput in;
    in.codes = p;
    in.bitPattern = true;
    RecordingCanvas c;
    int shaded = 0;
    const auto out = drawGraph(c, kWindow, in, [&] { ++shaded; });
    EXPECT_TRUE(c.linesOf(0x808080).empty());
    const auto texts = c.texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "Hi");
    EXPECT_EQ(texts[1].text, "Lo");
    EXPECT_EQ(texts[3].text, "     3");
    EXPECT_EQ(texts[0].color, 0xFFFFFFu);
    // 0xFFFF on the top edge, 0 on the bottom edge.
    const auto trace = c.linesOf(0x00FF00);
    EXPECT_EQ(trace.front().y1, 15);
    EXPECT_TRUE(std::any_of(trace.begin(), trace.end(), [](const CanvasCall& l) { return l.y2 == 191; }));
    EXPECT_EQ(shaded, 1);
    EXPECT_FALSE(out.zoomAreaAllowed.has_value());

    RecordingCanvas tiny;
    drawGraph(tiny, plotLayout(60, 40), in, nullptr);
    EXPECT_EQ(tiny.texts().size(), 4u);

    // One point has nothing to show and no selection to shade.
    const std::vector<uint16_t> one = {0xFFFF};
    in.codes = one;
    RecordingCanvas single;
    shaded = 0;
    drawGraph(single, kWindow, in, [&] { ++shaded; });
    EXPECT_TRUE(single.calls.empty());
    EXPECT_EQ(shaded, 0);
}

TEST(Trace, FewerThanTwoPointsDrawTheGridOnly) {
    for (std::size_t n : {0u, 1u}) {
        const std::vector<uint16_t> p(n, 2048);
        GraphInput in;
        in.codes = p;
        in.reference = 2048;
        in.markerAmplitude = 100;
        RecordingCanvas c;
        int shaded = 0;
        const auto out = drawGraph(c, kWindow, in, [&] { ++shaded; });
        EXPECT_EQ(c.lines().size(), 20u);
        EXPECT_TRUE(c.texts().empty());
        EXPECT_EQ(shaded, 0);
        EXPECT_FALSE(out.drewData);
    }
}

TEST(Trace, ZoomedViewOutsideTheDataPaintsTheWholeWaveform) {
    const std::vector<uint16_t> p(1000, 2048);
    GraphInput in;
    in.codes = p;
    in.reference = 2048;
    in.zoomed = true;
    in.viewFirst = 2000; // left from before a cut
    in.viewLast = 4999;
    in.viewMin = -100;
    in.viewMax = 100;
    RecordingCanvas c;
    const auto out = drawGraph(c, kWindow, in, nullptr);
    EXPECT_FALSE(out.zoomedDrawn);
    EXPECT_EQ(c.texts().back().text, "   999");
    EXPECT_FALSE(c.linesOf(0x00FF00).empty());
    EXPECT_TRUE(c.linesOf(0x00FFFF).empty());

    in.viewFirst = 100;
    in.viewLast = 899;
    RecordingCanvas z;
    EXPECT_TRUE(drawGraph(z, kWindow, in, nullptr).zoomedDrawn);
    EXPECT_EQ(z.texts()[3].text, "   100");
    EXPECT_FALSE(z.linesOf(0x00FFFF).empty());
}

TEST(Trace, PaintOrderIsGridLabelsTraceShadingPreview) {
    const std::vector<uint16_t> p(1000, 2048);
    GraphInput in;
    in.codes = p;
    in.reference = 2048;
    in.markerAmplitude = 1000;
    RecordingCanvas c;
    std::size_t shadeAt = 0;
    const auto out = drawGraph(c, kWindow, in, [&] { shadeAt = c.calls.size(); });
    ASSERT_TRUE(out.drewData);
    EXPECT_EQ(out.axis, (AxisRange{2047, -2048}));
    EXPECT_EQ(out.zoomAreaAllowed, true);
    EXPECT_EQ(c.calls[19].pen.color, 0x808080u);      // grid first
    EXPECT_EQ(c.calls[20].kind, CanvasCall::Text);    // then the labels
    EXPECT_EQ(c.calls[25].pen.color, 0x00FF00u);      // then the trace
    EXPECT_EQ(c.calls[shadeAt].pen.color, 0xFF0000u); // preview after the shading
    EXPECT_EQ(c.calls.size(), shadeAt + 2);
}

// The trace walks whole pixel columns at a time; it must issue exactly the calls of the
// point-by-point rule, for dense and sparse data and for plots wider than the data.
namespace {
void pointByPointMinMax(RecordingCanvas& c, const std::vector<uint16_t>& p, const PlotLayout& l, double d) {
    auto y = [&](uint16_t s) { return std::max(traceY(s, d, l), l.MarginTop); };
    const int64_t m = int64_t(p.size());
    int lastX = l.MarginLeft, lastY = traceY(p[0], d, l);
    c.MoveTo(lastX, lastY);
    uint16_t cur = p[0], hi = cur, lo = cur;
    for (int64_t i = 1; i <= m; ++i) {
        if (i < m) {
            hi = std::max(hi, p[std::size_t(i)]);
            lo = std::min(lo, p[std::size_t(i)]);
        }
        const int x = int(l.MarginLeft + int64_t(l.PlotWidth) * i / m);
        if (x == lastX)
            continue;
        if (x - lastX > 1) {
            c.LineTo(x, lastY);
            lastX = x;
        }
        if (hi != cur)
            c.LineTo(lastX, y(hi));
        if (lo != cur)
            c.LineTo(lastX, y(lo));
        if (i == m)
            break;
        cur = hi = lo = p[std::size_t(i)];
        lastY = y(cur);
        c.LineTo(x, lastY);
        lastX = x;
    }
}

void pointByPointZoomed(RecordingCanvas& c, const std::vector<uint16_t>& p, int mid, int vmin, int vmax,
                        const PlotLayout& l) {
    auto cls = [&](uint16_t s) { return int(s) - mid < vmin ? 0 : int(s) - mid > vmax ? 2 : 1; };
    auto y = [&](uint16_t s) {
        const int v = int(s) - mid;
        return v < vmin   ? l.MarginTop + l.PlotHeight
               : v > vmax ? l.MarginTop
                          : int(l.MarginTop + int64_t(vmax - v) * l.PlotHeight / (vmax - vmin));
    };
    auto to = [&](int from, uint16_t s, int x) {
        if (from == cls(s) && from != 1)
            c.MoveTo(x, y(s));
        else
            c.LineTo(x, y(s));
    };
    const int64_t m = int64_t(p.size());
    int lastX = l.MarginLeft, curClass = cls(p[0]), curY = y(p[0]);
    c.MoveTo(lastX, curY);
    uint16_t cur = p[0], hi = cur, lo = cur;
    for (int64_t i = 1; i <= m; ++i) {
        if (i < m) {
            hi = std::max(hi, p[std::size_t(i)]);
            lo = std::min(lo, p[std::size_t(i)]);
        }
        const int x = int(l.MarginLeft + int64_t(l.PlotWidth) * i / m);
        if (x == lastX)
            continue;
        if (x - lastX > 1) {
            if (curClass == 1)
                c.LineTo(x, curY);
            else
                c.MoveTo(x, curY);
        }
        if (hi != cur)
            to(curClass, hi, x);
        if (lo != cur)
            to(curClass, lo, x);
        if (i == m)
            break;
        cur = hi = lo = p[std::size_t(i)];
        to(curClass, cur, x);
        lastX = x;
        curClass = cls(cur);
        curY = y(cur);
    }
}

std::vector<Seg> withEnd(const RecordingCanvas& c) {
    auto s = segs(c.lines());
    s.push_back({c.position().x, c.position().y, -1, -1});
    return s;
}
} // namespace

TEST(Trace, ColumnWalkIssuesTheCallsOfThePointByPointRule) {
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    for (int width : {60, 274, 1600, 2155})
        for (int m : {2, 3, 7, 209, 210, 211, 1000, 5003}) {
            SCOPED_TRACE(testing::Message() << "width " << width << " points " << m);
            const PlotLayout l = plotLayout(width, 211);
            std::vector<uint16_t> p(std::size_t(m), 2048);
            for (auto& v : p)
                v = next() % 3 == 0 ? uint16_t(next() % 4096) : uint16_t(2048 + next() % 5);
            RecordingCanvas walked, reference;
            drawMinMaxTrace(walked, p, l, 4096);
            pointByPointMinMax(reference, p, l, 4096);
            EXPECT_EQ(withEnd(walked), withEnd(reference));
            RecordingCanvas zoomed, zoomedReference;
            drawZoomedTrace(zoomed, p, 2048, -300, 500, l);
            pointByPointZoomed(zoomedReference, p, 2048, -300, 500, l);
            EXPECT_EQ(withEnd(zoomed), withEnd(zoomedReference));
        }
}
