#include "workspace/core/draw_stroke.h"

#include "common/numtext.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace plotwell::workspace {

bool inDrawPlot(int x, int y, const PlotLayout& l) {
    return x >= l.MarginLeft - 2 && x <= l.MarginLeft + l.PlotWidth + 2 && y >= l.MarginTop - 2 &&
           y <= l.MarginTop + l.PlotHeight + 2;
}

int32_t drawIndex(int x, const DrawMapping& m) {
    const PlotLayout& l = m.layout;
    const int64_t dx = int64_t(x) - l.MarginLeft;
    if (m.view) {
        if (l.PlotWidth <= 0)
            return m.view->first;
        return int32_t((int64_t(m.view->last) - m.view->first) * dx / l.PlotWidth + m.view->first);
    }
    if (l.PlotWidth <= 0)
        return 0;
    return int32_t((int64_t(m.pointCount) - 1) * dx / l.PlotWidth);
}

namespace {
// Pixels up from the plot's bottom edge.
int64_t pixelsUp(int y, const PlotLayout& l) {
    return int64_t(l.PlotHeight) - y + l.MarginTop;
}
} // namespace

int32_t drawCode(int y, const DrawMapping& m) {
    const PlotLayout& l = m.layout;
    if (m.view) {
        if (l.PlotHeight <= 0)
            return m.view->min + m.midCode;
        return int32_t((int64_t(m.view->max) - m.view->min) * pixelsUp(y, l) / l.PlotHeight + m.view->min +
                       m.midCode);
    }
    if (l.PlotHeight <= 0)
        return 0;
    return int32_t((2 * int64_t(m.midCode) - 1) * pixelsUp(y, l) / l.PlotHeight);
}

std::string coordinatesText(int x, int y, const DrawMapping& m) {
    const int32_t r = m.midCode;
    int32_t index = drawIndex(x, m);
    // drawCode less R' is the value in both views; the read-out keeps it within the range shown.
    int32_t value = drawCode(y, m) - r;
    if (m.view) {
        index = std::clamp(index, m.view->first, m.view->last);
        value = std::clamp(value, m.view->min, m.view->max);
    } else {
        index = std::clamp(index, 0, std::max(0, m.pointCount - 1));
        value = std::clamp(value, -r, r - 1);
    }
    if (m.normalised)
        return common::cformat("X = %d  Y = %+1.3f", index, value / 32767.0);
    return common::cformat(m.view ? "X: %d  Y: %-d" : "X = %d  Y = %-d", index, value);
}

PixelPoint snapToAxis(PixelPoint last, PixelPoint p, int verticalRatio) {
    const int dx = std::abs(p.x - last.x), dy = std::abs(p.y - last.y);
    if (dx == 0 || dy == 0)
        return p;
    const bool vertical = dy / dx > verticalRatio;
    const bool horizontal = dx / dy > 2;
    if (vertical && !horizontal)
        p.x = last.x;
    else if (horizontal && !vertical)
        p.y = last.y;
    return p;
}

Stroke widenSingleSample(Stroke s, std::span<const uint16_t> codes) {
    if (s.startIndex != s.endIndex)
        return s;
    const auto codeAt = [&](int32_t i) {
        return i >= 0 && std::size_t(i) < codes.size() ? int32_t(codes[std::size_t(i)]) : s.startCode;
    };
    if (s.startIndex <= 0) {
        s.endIndex = s.startIndex + 1;
        s.endCode = codeAt(s.endIndex);
    } else {
        s.startIndex = s.endIndex - 1;
        s.startCode = codeAt(s.startIndex);
    }
    return s;
}

std::optional<Stroke> writeStroke(Stroke s, std::span<uint16_t> codes, int32_t midCode) {
    if (codes.empty())
        return std::nullopt;
    if (s.endIndex < s.startIndex) {
        std::swap(s.startIndex, s.endIndex);
        std::swap(s.startCode, s.endCode);
    }
    const int32_t lastIndex = int32_t(codes.size()) - 1;
    // A broken reference word above 32768 must not carry a code past 16 bits.
    const int32_t maxCode = std::clamp(2 * midCode - 1, 0, 0xFFFF);
    s.startIndex = std::clamp(s.startIndex, 0, lastIndex);
    s.endIndex = std::clamp(s.endIndex, 0, lastIndex);
    s.startCode = std::clamp(s.startCode, 0, maxCode);
    s.endCode = std::clamp(s.endCode, 0, maxCode);
    if (s.startIndex == s.endIndex) {
        codes[std::size_t(s.startIndex)] = uint16_t(s.startCode);
        return s;
    }
    // Multiplied before dividing, so that samples on exact steps come out exact.
    const double rise = double(s.endCode) - s.startCode, run = double(s.endIndex) - s.startIndex;
    for (int32_t i = s.startIndex; i <= s.endIndex; ++i)
        codes[std::size_t(i)] = uint16_t(int32_t(double(i - s.startIndex) * rise / run + s.startCode));
    return s;
}

} // namespace plotwell::workspace
