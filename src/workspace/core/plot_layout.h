#pragma once
// Where a waveform graph goes on a canvas of a given client size, and how samples and
// pixels convert into each other. Every product of a pixel count and a sample index is
// 64-bit: a million points on a plot over 2,048 pixels wide would overflow 32 bits.

#include <cstdint>
#include <string>
#include <vector>

namespace plotwell::workspace {

struct PlotLayout {
    int32_t MarginLeft = 40, MarginRight = 15, MarginBottom = 20, MarginTop = 15;
    bool AxisLabelsShown = true;
    float GridCellHeight = 0, GridCellWidth = 0;
    int32_t PlotHeight = 0, PlotWidth = 0;
    bool operator==(const PlotLayout&) const = default;
};

// Under 70 px high or, failing that, under 100 px wide.
bool isSmallClient(int clientWidth, int clientHeight);

// Margins 40/15/20/15 (all 5 in a small window), a 10 x 8 grid of whole cells. A client too
// small for any cell gets cells of 0, never negative ones.
PlotLayout plotLayout(int clientWidth, int clientHeight);
// The 10 x 8 grid of whole cells inside the given margins of a canvas.
PlotLayout gridLayout(int width, int height, int32_t left, int32_t right, int32_t bottom, int32_t top,
                      bool labelsShown);

// Values at the top and bottom of the unzoomed axis.
struct AxisRange {
    int32_t max = 0, min = 0;
    bool operator==(const AxisRange&) const = default;
};
AxisRange axisRange(uint16_t reference, bool unsignedDisplay);

// The unzoomed trace maps a code s to trunc((1 - s / D) x PlotHeight + MarginTop).
double traceDivisor(uint16_t reference, bool unsignedDisplay);
inline constexpr double kBitPatternDivisor = 65535.0;
int32_t traceY(double code, double divisor, const PlotLayout& layout);

// Zoom needs at least 100 points and a reference of 50 or more, or normalised data.
bool zoomAreaAllowed(int pointCount, uint16_t reference);

// The zoomed view that a paint and the cursors can use: inside the data and not empty.
// A view left over from before a length change is not usable and the whole waveform shows.
bool zoomedViewUsable(bool zoomed, int32_t viewFirst, int32_t viewLast, int32_t viewMin, int32_t viewMax,
                      int pointCount);

struct AxisLabel {
    int x = 0, y = 0;
    std::string text;
    bool operator==(const AxisLabel&) const = default;
};
std::vector<AxisLabel> unzoomedLabels(const PlotLayout& layout, uint16_t reference, bool unsignedDisplay,
                                      int pointCount);
std::vector<AxisLabel> zoomedLabels(const PlotLayout& layout, uint16_t reference, bool unsignedDisplay,
                                    int32_t viewFirst, int32_t viewLast, int32_t viewMin, int32_t viewMax);
std::vector<AxisLabel> bitPatternLabels(const PlotLayout& layout, int32_t first, int32_t last);

// ---- cursors -------------------------------------------------------------------------

// The sample range the cursors map onto: the whole waveform, or the zoomed view.
struct CursorSpan {
    bool zoomed = false;
    int32_t first = 0, last = 0; // the view when zoomed
    int pointCount = 0;
};

// x of a cursor at `index`: ML + PW x index / (N-1), or in a zoomed view
// ML + (index - first) x PW / (last - first) clamped to the plot.
int32_t cursorX(int64_t index, const CursorSpan& span, const PlotLayout& layout);
// The index under a start cursor image whose left edge is at `imageLeft` (its right edge
// marks the cursor), and under an end cursor image (its left edge marks it).
int32_t startIndexAt(int imageLeft, int imageWidth, const CursorSpan& span, const PlotLayout& layout);
int32_t endIndexAt(int imageLeft, const CursorSpan& span, const PlotLayout& layout);

} // namespace plotwell::workspace
