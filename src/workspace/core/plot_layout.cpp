#include "workspace/core/plot_layout.h"

#include "common/numtext.h"
#include "common/saturate.h"
#include "workspace/core/sample_stream.h"

#include <algorithm>

namespace plotwell::workspace {

using common::cformat;
using common::toInt32;

bool isSmallClient(int w, int h) {
    return h < 70 || w < 100;
}

PlotLayout plotLayout(int w, int h) {
    if (isSmallClient(w, h))
        return gridLayout(w, h, 5, 5, 5, 5, false);
    return gridLayout(w, h, 40, 15, 20, 15, true);
}

PlotLayout gridLayout(int w, int h, int32_t left, int32_t right, int32_t bottom, int32_t top, bool labels) {
    PlotLayout l;
    l.MarginLeft = left;
    l.MarginRight = right;
    l.MarginBottom = bottom;
    l.MarginTop = top;
    l.AxisLabelsShown = labels;
    l.GridCellHeight = float(std::max(0, (h - l.MarginTop - l.MarginBottom) / 8));
    l.GridCellWidth = float(std::max(0, (w - l.MarginLeft - l.MarginRight) / 10));
    l.PlotHeight = int32_t(8 * l.GridCellHeight);
    l.PlotWidth = int32_t(10 * l.GridCellWidth);
    return l;
}

AxisRange axisRange(uint16_t r, bool unsignedDisplay) {
    if (r == 1)
        return {32767, -32768};
    if (unsignedDisplay)
        return {2 * int32_t(r) - 1, 0};
    return {int32_t(r) - 1, -int32_t(r)};
}

double traceDivisor(uint16_t r, bool unsignedDisplay) {
    const AxisRange a = axisRange(r, unsignedDisplay);
    return unsignedDisplay ? double(a.max) : -2.0 * double(a.min);
}

int32_t traceY(double s, double d, const PlotLayout& l) {
    // A broken reference word of 0 gives D = 0; the saturating conversion keeps that defined.
    return toInt32((1.0 - s / d) * l.PlotHeight + l.MarginTop);
}

bool zoomAreaAllowed(int n, uint16_t r) {
    return n >= 100 && (r >= 50 || r == 1);
}

bool zoomedViewUsable(bool zoomed, int32_t first, int32_t last, int32_t vmin, int32_t vmax, int n) {
    return zoomed && first >= 0 && first < last && last <= n - 1 && vmin < vmax;
}

std::vector<AxisLabel> unzoomedLabels(const PlotLayout& l, uint16_t r, bool unsignedDisplay, int n) {
    const AxisRange a = axisRange(r, unsignedDisplay);
    const std::string middle = unsignedDisplay ? cformat("%+6d", (a.max + 1) / 2) : std::string("      0");
    return {
        {3, l.MarginTop - 4, cformat("%+6d", r == 1 ? 1 : a.max)},
        {unsignedDisplay ? 3 : 5, l.PlotHeight + l.MarginTop - 7, cformat("%+6d", r == 1 ? -1 : a.min)},
        {3, int(4 * l.GridCellHeight + float(l.MarginTop) - 7), middle},
        {l.MarginLeft, l.PlotHeight + 20, "0"},
        {l.MarginLeft + l.PlotWidth - 27, l.PlotHeight + 20, cformat("%6d", n - 1)},
    };
}

std::vector<AxisLabel> zoomedLabels(const PlotLayout& l, uint16_t r, bool unsignedDisplay, int32_t first,
                                    int32_t last, int32_t vmin, int32_t vmax) {
    std::string top, bottom, middle;
    if (r == 1) {
        // The normalised labels divide by 32767, not by the 32768 of the codes.
        top = cformat("%+1.3f", vmax / 32767.0);
        bottom = cformat("%+1.3f", vmin / 32767.0);
        middle = cformat("%+1.3f", (vmin + 0.5 * (double(vmax) - vmin)) / 32767.0);
    } else {
        top = cformat("%+6d", vmax);
        bottom = cformat("%+6d", vmin);
        middle = cformat("%+6d", int32_t((int64_t(vmax) - vmin) / 2 + vmin));
    }
    const int midY = int(4 * l.GridCellHeight + float(l.MarginTop) - 7);
    return {
        {3, l.MarginTop - 4, top},
        {unsignedDisplay ? 3 : 5, l.PlotHeight + l.MarginTop - 7, bottom},
        {3, midY, middle},
        {l.MarginLeft - 10, l.PlotHeight + 20, cformat("%6d", first)},
        {l.MarginLeft + l.PlotWidth - 27, l.PlotHeight + 20, cformat("%6d", last)},
    };
}

std::vector<AxisLabel> bitPatternLabels(const PlotLayout& l, int32_t first, int32_t last) {
    return {
        {3, l.MarginTop - 4, "Hi"},
        {3, int(8 * l.GridCellHeight + float(l.MarginTop) - 7), "Lo"},
        {l.MarginLeft - 10, l.PlotHeight + 20, cformat("%6d", first)},
        {l.MarginLeft + l.PlotWidth - 27, l.PlotHeight + 20, cformat("%6d", last)},
    };
}

int32_t cursorX(int64_t index, const CursorSpan& s, const PlotLayout& l) {
    const int64_t pw = l.PlotWidth;
    if (s.zoomed) {
        const int64_t range = int64_t(s.last) - s.first;
        if (range <= 0)
            return l.MarginLeft;
        const int64_t x = l.MarginLeft + (index - s.first) * pw / range;
        return int32_t(std::clamp<int64_t>(x, l.MarginLeft, l.MarginLeft + pw));
    }
    if (s.pointCount < 2)
        return l.MarginLeft;
    return int32_t(l.MarginLeft + pw * index / (s.pointCount - 1));
}

namespace {
int32_t indexAt(int64_t offset, const CursorSpan& s, const PlotLayout& l) {
    if (l.PlotWidth <= 0)
        return s.zoomed ? s.first : 0;
    if (s.zoomed)
        return int32_t(offset * (int64_t(s.last) - s.first) / l.PlotWidth + s.first);
    return int32_t(offset * std::max(0, s.pointCount - 1) / l.PlotWidth);
}
} // namespace

int32_t startIndexAt(int imageLeft, int imageWidth, const CursorSpan& s, const PlotLayout& l) {
    return indexAt(int64_t(imageLeft) + imageWidth - l.MarginLeft, s, l);
}

int32_t endIndexAt(int imageLeft, const CursorSpan& s, const PlotLayout& l) {
    return indexAt(int64_t(imageLeft) - l.MarginLeft, s, l);
}

} // namespace plotwell::workspace
