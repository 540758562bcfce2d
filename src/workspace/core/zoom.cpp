#include "workspace/core/zoom.h"

#include "common/saturate.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace plotwell::workspace {

namespace {
// The same rule as the Zoom area item: 100 points and 100 units must fit.
bool zoomable(int n, int32_t r) {
    return n >= kMinViewPoints && r >= kMinViewUnits / 2;
}

// Shifts the view inside 0..N-1 and -R'..R'-1, keeping its spans where they fit.
View shiftInside(View v, int n, int32_t r) {
    const int32_t lastIndex = n - 1;
    if (v.first < 0) {
        v.last -= v.first;
        v.first = 0;
    }
    if (v.last > lastIndex) {
        v.first = std::max(0, v.first - (v.last - lastIndex));
        v.last = lastIndex;
    }
    if (v.min < -r) {
        v.max += -r - v.min;
        v.min = -r;
    }
    if (v.max > r - 1) {
        v.min = std::max(-r, v.min - (v.max - (r - 1)));
        v.max = r - 1;
    }
    return v;
}
} // namespace

std::optional<View> clampView(View v, int n, int32_t r) {
    if (!zoomable(n, r))
        return std::nullopt;
    if (v.last - v.first < kMinViewPoints - 1)
        v.last = v.first + kMinViewPoints - 1;
    if (v.max - v.min < kMinViewUnits)
        v.max = v.min + kMinViewUnits;
    return shiftInside(v, n, r);
}

bool bandZooms(const Band& b) {
    return std::abs(b.x2 - b.x1) > 5 && std::abs(b.y2 - b.y1) > 5;
}

std::optional<View> bandView(Band b, const PlotLayout& l, int n, int32_t r, const std::optional<View>& cur) {
    if (!bandZooms(b) || l.PlotWidth <= 0 || l.PlotHeight <= 0 || n < 2)
        return std::nullopt;
    if (b.x1 > b.x2)
        std::swap(b.x1, b.x2);
    if (b.y1 > b.y2)
        std::swap(b.y1, b.y2);
    b.x1 = std::max(b.x1, l.MarginLeft);
    b.y1 = std::max(b.y1, l.MarginTop);
    b.x2 = std::min(b.x2, l.MarginLeft + l.PlotWidth);
    b.y2 = std::min(b.y2, l.MarginTop + l.PlotHeight);
    const int64_t pw = l.PlotWidth, ph = l.PlotHeight;
    // Pixels from the plot's left edge, and up from its bottom edge.
    const int64_t dx1 = b.x1 - l.MarginLeft, dx2 = b.x2 - l.MarginLeft;
    const int64_t up1 = ph - b.y1 + l.MarginTop, up2 = ph - b.y2 + l.MarginTop;
    View v;
    if (!cur) {
        v.min = int32_t((2 * int64_t(r) - 1) * up2 / ph - r);
        v.max = int32_t((2 * int64_t(r) - 1) * up1 / ph - r);
        v.first = int32_t((int64_t(n) - 1) * dx1 / pw);
        v.last = int32_t((int64_t(n) - 1) * dx2 / pw);
    } else {
        const double units = double(cur->max) - cur->min;
        v.min = common::toInt32(units * double(up2) / double(ph) + cur->min);
        v.max = common::toInt32(units * double(up1) / double(ph) + cur->min);
        const int64_t s = int64_t(cur->last) - cur->first;
        v.first = int32_t(s * dx1 / pw + cur->first);
        v.last = int32_t(s * dx2 / pw + cur->first);
    }
    return clampView(v, n, r);
}

std::optional<View> zoomOutView(const View& v, int n, int32_t r) {
    const int64_t s = int64_t(v.last) - v.first;
    const int64_t y = std::abs(int64_t(v.max) - v.min);
    const bool xGrows = 2 * s < n;
    const bool yGrows = 2 * y < 2 * int64_t(r);
    if (!xGrows && !yGrows)
        return std::nullopt;
    View out = v;
    if (xGrows) {
        out.first = int32_t(v.first - s / 2);
        out.last = int32_t(v.last + s / 2);
    } else {
        out.first = 0;
        out.last = n - 1;
    }
    if (yGrows) {
        const int32_t half = (v.max - v.min) / 2;
        out.max = v.max + half;
        out.min = v.min - half;
    } else {
        out.max = r - 1;
        out.min = -r;
    }
    return clampView(out, n, r);
}

// ---- overview ----------------------------------------------------------------------------

PlotLayout overviewLayout(int w, int h) {
    PlotLayout l;
    l.MarginLeft = l.MarginRight = 1;
    l.MarginTop = l.MarginBottom = 2;
    l.AxisLabelsShown = false;
    l.PlotHeight = std::max(0, h - 4);
    l.PlotWidth = 10 * std::max(0, (w - 2) / 10);
    l.GridCellHeight = float(l.PlotHeight) / 8;
    l.GridCellWidth = float(l.PlotWidth) / 10;
    return l;
}

double overviewDivisor(uint16_t r, bool unsignedDisplay) {
    if (r == 1)
        return 65536.0;
    return unsignedDisplay ? 2.0 * r - 1 : 2.0 * r;
}

Box overviewBox(const View& v, const PlotLayout& ol, int n, int32_t r, double d) {
    Box b;
    if (n < 2 || d == 0)
        return b;
    const int64_t pw = ol.PlotWidth;
    b.left = int(int64_t(v.first) * pw / (n - 1) + 1);
    b.right = int(int64_t(v.last) * pw / (n - 1) + 1);
    b.bottom = common::toInt32((1.0 - (double(v.min) + r) / d) * ol.PlotHeight + 2);
    b.top = common::toInt32((1.0 - (double(v.max) + r) / d) * ol.PlotHeight + 2);
    return b;
}

bool isSmallBox(const Box& b) {
    return b.width() < kSmallBox || b.height() < kSmallBox;
}

bool boxGrabbed(const Box& b, int x, int y) {
    const int t = isSmallBox(b) ? kSmallBoxReach : 0;
    return x >= b.left - t && x <= b.right + t && y >= b.top - t && y <= b.bottom + t;
}

Box dragBox(const Box& b, int x, int y, int grabX, int grabY, int cw, int ch) {
    const int w = b.width(), h = b.height();
    int left = std::min(x - grabX, cw - 1 - w);
    int top = std::min(y - grabY, ch - 2 - h);
    left = std::max(left, 1);
    top = std::max(top, 2);
    return {left, top, left + w, top + h};
}

std::optional<View> boxView(const Box& b, const View& old, const PlotLayout& ol, int n, int32_t r, double d) {
    if (ol.PlotWidth <= 0 || ol.PlotHeight <= 0 || n < 2)
        return std::nullopt;
    const int32_t span = old.last - old.first;
    View v;
    if (b.left <= 1) {
        v.first = 0;
        v.last = span;
    } else if (b.right < ol.PlotWidth) {
        v.first = int32_t(int64_t(b.left - 1) * (n - 1) / ol.PlotWidth);
        v.last = v.first + span;
    } else {
        v.first = n - 1 - span;
        v.last = n - 1;
    }
    const auto value = [&](int y) {
        return common::toInt32((1.0 - double(y - 2) / ol.PlotHeight) * (d - 1) - r);
    };
    v.min = value(b.bottom);
    v.max = value(b.top);
    // A dropped box keeps the spans its pixels give, however small; only a collapsed one
    // gets 100, and the shift below keeps that inside the data.
    if (v.last == v.first)
        v.last = v.first + kMinViewPoints;
    if (v.max == v.min)
        v.max = v.min + kMinViewUnits;
    if (!zoomable(n, r))
        return std::nullopt;
    return shiftInside(v, n, r);
}

} // namespace plotwell::workspace
