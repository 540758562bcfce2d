#include "workspace/core/trace.h"

#include "common/saturate.h"
#include "workspace/core/sample_stream.h"

#include <algorithm>

namespace plotwell::workspace {

using platform::Pen;
using platform::PenMode;
using platform::PenStyle;

namespace {

void hLine(Canvas& c, int x0, int x1, int y) {
    c.MoveTo(x0, y);
    c.LineTo(x1, y);
}

void vLine(Canvas& c, int x, int y0, int y1) {
    c.MoveTo(x, y0);
    c.LineTo(x, y1);
}

// Extremes of a run of codes; a plain loop the compiler turns into vector code.
void widenRange(const uint16_t* p, std::size_t n, uint16_t& lo, uint16_t& hi) {
    uint16_t l = lo, h = hi;
    for (std::size_t k = 0; k < n; ++k) {
        l = std::min(l, p[k]);
        h = std::max(h, p[k]);
    }
    lo = l;
    hi = h;
}

// Walks the pixel columns of a trace over M points: calls `event(i, x)` for every index i in
// 1..M at which x = ML + PW x i / M leaves the column of the previous event, after widening
// lo/hi by the codes since that event up to and including i (when i < M). Between events x
// stays in one column, so the loop costs one division per column, not per point.
template <class Event>
void walkColumns(std::span<const uint16_t> p, const PlotLayout& l, uint16_t& lo, uint16_t& hi,
                 Event&& event) {
    const int64_t m = int64_t(p.size());
    const int64_t pw = l.PlotWidth;
    if (pw <= 0 || m < 1)
        return; // every point lies in the first column: nothing after the first move
    int64_t i = 1;
    int64_t col = 0; // column of the last event, relative to MarginLeft
    while (i <= m) {
        // The first j with PW x j / M > col.
        const int64_t j = std::max(i, ((col + 1) * m + pw - 1) / pw);
        const int64_t upTo = std::min(j, m - 1);
        if (upTo >= i)
            widenRange(p.data() + i, std::size_t(upTo - i + 1), lo, hi);
        col = pw * j / m;
        if (!event(j, int32_t(l.MarginLeft + col)))
            return;
        i = j + 1;
    }
}

} // namespace

void drawGrid(Canvas& c, const PlotLayout& l, platform::Rgb color) {
    const int top = l.MarginTop, bottom = l.MarginTop + l.PlotHeight;
    const int left = l.MarginLeft, right = l.MarginLeft + l.PlotWidth;
    for (int i = 0; i <= 10; ++i) {
        c.SetPen({color, i % 5 == 0 ? PenStyle::Solid : PenStyle::Dot, PenMode::Copy});
        vLine(c, left + int(float(i) * l.GridCellWidth), top, bottom);
    }
    for (int j = 0; j <= 8; ++j) {
        c.SetPen({color, j % 4 == 0 ? PenStyle::Solid : PenStyle::Dot, PenMode::Copy});
        hLine(c, left, right, top + int(float(j) * l.GridCellHeight));
    }
}

void drawLabels(Canvas& c, const std::vector<AxisLabel>& labels, platform::Rgb color) {
    c.SetFontColor(color);
    for (const AxisLabel& a : labels)
        c.TextOut(a.x, a.y, a.text);
}

void drawMinMaxTrace(Canvas& c, std::span<const uint16_t> p, const PlotLayout& l, double d, bool strokes) {
    if (p.empty())
        return;
    auto y = [&](uint16_t s) { return std::max(traceY(s, d, l), l.MarginTop); };
    int32_t lastX = l.MarginLeft;
    int32_t lastY = traceY(p[0], d, l);
    c.MoveTo(lastX, lastY);
    uint16_t cur = p[0], hi = cur, lo = cur;
    const int64_t m = int64_t(p.size());
    walkColumns(p, l, lo, hi, [&](int64_t i, int32_t x) {
        if (x - lastX > 1) {
            c.LineTo(x, lastY);
            lastX = x;
        }
        if (strokes && hi != cur)
            c.LineTo(lastX, y(hi));
        if (strokes && lo != cur)
            c.LineTo(lastX, y(lo));
        if (i == m)
            return false;
        const uint16_t next = p[std::size_t(i)];
        lastY = y(next);
        c.LineTo(x, lastY);
        lastX = x;
        cur = hi = lo = next;
        return true;
    });
}

void drawZoomedTrace(Canvas& c, std::span<const uint16_t> p, int32_t mid, int32_t vmin, int32_t vmax,
                     const PlotLayout& l, bool strokes) {
    if (p.empty() || vmax <= vmin)
        return;
    enum Class { Below, Inside, Above };
    const int32_t bottom = l.MarginTop + l.PlotHeight;
    auto classOf = [&](uint16_t s) {
        const int32_t v = int32_t(s) - mid;
        return v < vmin ? Below : v > vmax ? Above : Inside;
    };
    auto yOf = [&](uint16_t s) {
        const int32_t v = int32_t(s) - mid;
        if (v < vmin)
            return bottom;
        if (v > vmax)
            return l.MarginTop;
        return int32_t(l.MarginTop + (int64_t(vmax) - v) * l.PlotHeight / (int64_t(vmax) - vmin));
    };
    // A segment that stays wholly below or wholly above the view only moves the pen.
    auto to = [&](Class from, uint16_t s, int32_t x) {
        const Class k = classOf(s);
        if (from == k && k != Inside)
            c.MoveTo(x, yOf(s));
        else
            c.LineTo(x, yOf(s));
    };
    int32_t lastX = l.MarginLeft;
    Class curClass = classOf(p[0]);
    int32_t curY = yOf(p[0]);
    c.MoveTo(lastX, curY);
    uint16_t cur = p[0], hi = cur, lo = cur;
    const int64_t m = int64_t(p.size());
    walkColumns(p, l, lo, hi, [&](int64_t i, int32_t x) {
        if (x - lastX > 1) {
            if (curClass == Inside)
                c.LineTo(x, curY);
            else
                c.MoveTo(x, curY);
        }
        if (strokes && hi != cur)
            to(curClass, hi, x);
        if (strokes && lo != cur)
            to(curClass, lo, x);
        if (i == m)
            return false;
        const uint16_t next = p[std::size_t(i)];
        to(curClass, next, x);
        lastX = x;
        curClass = classOf(next);
        curY = yOf(next);
        cur = hi = lo = next;
        return true;
    });
}

namespace {
// Two horizontal preview lines in merge mode: solid where the level lies beyond the plot's
// edge (drawn on the edge), dashed at the level's y otherwise.
void drawLevelLines(Canvas& c, const PlotLayout& l, bool upperBeyond, int upperY, bool lowerBeyond,
                    int lowerY) {
    const int right = l.MarginLeft + l.PlotWidth;
    c.SetPen({kPreviewColor, upperBeyond ? PenStyle::Solid : PenStyle::Dash, PenMode::Merge});
    hLine(c, l.MarginLeft, right, upperBeyond ? l.MarginTop : upperY);
    c.SetPen({kPreviewColor, lowerBeyond ? PenStyle::Solid : PenStyle::Dash, PenMode::Merge});
    hLine(c, l.MarginLeft, right, lowerBeyond ? l.MarginTop + l.PlotHeight : lowerY);
}
} // namespace

void drawPreviewLines(Canvas& c, const PlotLayout& l, int32_t mid, int32_t amplitude, int32_t offset) {
    if (amplitude == 0)
        return;
    // The lines use a divisor of 2R'+2, not the trace's 2R'.
    auto levelY = [&](int64_t level) {
        return common::toInt32((1.0 - double(level + mid) / double(2 * int64_t(mid) + 2)) * l.PlotHeight +
                               l.MarginTop);
    };
    const int64_t upper = int64_t(amplitude) + offset;
    const int64_t lower = int64_t(offset) - amplitude;
    drawLevelLines(c, l, upper > mid - 1, levelY(upper), lower < -mid, levelY(lower));
}

void drawZoomedPreviewLines(Canvas& c, const PlotLayout& l, int32_t vmin, int32_t vmax, int32_t amplitude,
                            int32_t offset) {
    if (amplitude == 0 || vmax <= vmin)
        return;
    auto levelY = [&](int64_t level) {
        return int32_t(l.MarginTop + (vmax - level) * l.PlotHeight / (int64_t(vmax) - vmin));
    };
    const int64_t upper = int64_t(amplitude) + offset;
    const int64_t lower = int64_t(offset) - amplitude;
    drawLevelLines(c, l, upper >= vmax, int(levelY(upper)), lower <= vmin, int(levelY(lower)));
}

Pen shadingPen() {
    return {kShadingColor, PenStyle::Solid, PenMode::NotXor};
}

void moveShadeStart(Canvas& c, const PlotLayout& l, int32_t& shadeStartX, int32_t xs) {
    const int top = l.MarginTop, bottom = l.MarginTop + l.PlotHeight;
    if (xs >= shadeStartX) {
        for (int32_t x = shadeStartX + 1; x <= xs; ++x)
            vLine(c, x, top, bottom);
    } else {
        for (int32_t x = shadeStartX; x > xs; --x)
            vLine(c, x, top, bottom);
    }
    shadeStartX = xs;
}

void moveShadeEnd(Canvas& c, const PlotLayout& l, int32_t& shadeEndX, int32_t xe) {
    const int top = l.MarginTop, bottom = l.MarginTop + l.PlotHeight;
    if (xe < shadeEndX) {
        for (int32_t x = shadeEndX - 1; x >= xe; --x)
            vLine(c, x, top, bottom);
    } else {
        for (int32_t x = shadeEndX; x < xe; ++x)
            vLine(c, x, top, bottom);
    }
    shadeEndX = xe;
}

GraphOutcome drawGraph(Canvas& c, const PlotLayout& l, const GraphInput& in,
                       const std::function<void()>& shade) {
    GraphOutcome out;
    const int n = int(in.codes.size());
    c.SetPen({kGridColor, PenStyle::Dot, PenMode::Copy});
    if (in.bitPattern) {
        // No grid and no size test in the rule; a pattern of fewer than 2 points has
        // nothing to show and no selection to shade.
        if (n < 2)
            return out;
        const bool zoomed = zoomedViewUsable(in.zoomed, in.viewFirst, in.viewLast, 0, 1, n);
        const int32_t first = zoomed ? in.viewFirst : 0, last = zoomed ? in.viewLast : n - 1;
        drawLabels(c, bitPatternLabels(l, first, last), kBitPatternLabelColor);
        c.SetPen({kTraceColor, PenStyle::Solid, PenMode::Copy});
        drawMinMaxTrace(c, in.codes.subspan(std::size_t(first), std::size_t(last - first) + 1), l,
                        kBitPatternDivisor);
        out.drewData = true;
        out.zoomedDrawn = zoomed;
        if (shade)
            shade();
        return out;
    }
    drawGrid(c, l);
    if (n < 2)
        return out;
    out.zoomAreaAllowed = zoomAreaAllowed(n, in.reference);
    out.axis = axisRange(in.reference, in.unsignedDisplay);
    out.drewData = true;
    const int32_t mid = SampleStream::midCodeOf(in.reference);
    if (!zoomedViewUsable(in.zoomed, in.viewFirst, in.viewLast, in.viewMin, in.viewMax, n)) {
        if (l.AxisLabelsShown)
            drawLabels(c, unzoomedLabels(l, in.reference, in.unsignedDisplay, n), kLabelColor);
        c.SetPen({kTraceColor, PenStyle::Solid, PenMode::Copy});
        drawMinMaxTrace(c, in.codes, l, traceDivisor(in.reference, in.unsignedDisplay));
        if (shade)
            shade();
        drawPreviewLines(c, l, mid, in.markerAmplitude, in.markerOffset);
        return out;
    }
    out.zoomedDrawn = true;
    if (l.AxisLabelsShown)
        drawLabels(c,
                   zoomedLabels(l, in.reference, in.unsignedDisplay, in.viewFirst, in.viewLast, in.viewMin,
                                in.viewMax),
                   kLabelColor);
    c.SetPen({kZoomedTraceColor, PenStyle::Solid, PenMode::Copy});
    drawZoomedTrace(c,
                    in.codes.subspan(std::size_t(in.viewFirst), std::size_t(in.viewLast - in.viewFirst) + 1),
                    mid, in.viewMin, in.viewMax, l);
    if (shade)
        shade();
    drawZoomedPreviewLines(c, l, in.viewMin, in.viewMax, in.markerAmplitude, in.markerOffset);
    return out;
}

} // namespace plotwell::workspace
