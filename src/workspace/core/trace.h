#pragma once
// Drawing a waveform graph on a canvas: grid, labels, the trace (one pass over the points,
// a few lines per pixel column), the selection shading and the preview lines.

#include "platform/canvas/canvas.h"
#include "workspace/core/plot_layout.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace plotwell::workspace {

using platform::Canvas;

inline constexpr platform::Rgb kGridColor = 0x808080;
inline constexpr platform::Rgb kLabelColor = 0xC0C0C0;
inline constexpr platform::Rgb kBitPatternLabelColor = 0xFFFFFF;
inline constexpr platform::Rgb kTraceColor = 0x00FF00;
inline constexpr platform::Rgb kZoomedTraceColor = 0x00FFFF;
inline constexpr platform::Rgb kPreviewColor = 0xFF0000;
// Not-XOR with cyan shows red over the black background.
inline constexpr platform::Rgb kShadingColor = 0x00FFFF;

// 11 vertical and 9 horizontal lines; the outer and middle ones solid, the rest dotted.
void drawGrid(Canvas& c, const PlotLayout& l, platform::Rgb color = kGridColor);
void drawLabels(Canvas& c, const std::vector<AxisLabel>& labels, platform::Rgb color);

// The min/max rule: each pixel column gets one vertical stroke over the extremes of the
// codes that fall into it (with the first code of the next column), runs of empty columns
// are bridged at the last level, and fewer points than columns are joined by lines.
// Codes map by traceY with `divisor`; every y but the first is kept at or below MarginTop.
// Without `strokes` each column gets one point only (pictures and printouts).
void drawMinMaxTrace(Canvas& c, std::span<const uint16_t> codes, const PlotLayout& l, double divisor,
                     bool strokes = true);

// The zoomed rule over the codes of the view: values (code - midCode) below viewMin lie on
// the bottom edge, above viewMax on the top edge, and a segment between two points both
// below or both above only moves the pen.
void drawZoomedTrace(Canvas& c, std::span<const uint16_t> codes, int32_t midCode, int32_t viewMin,
                     int32_t viewMax, const PlotLayout& l, bool strokes = true);

// Preview lines of a generator's amplitude: `midCode` is R' (32768 for normalised data).
void drawPreviewLines(Canvas& c, const PlotLayout& l, int32_t midCode, int32_t amplitude, int32_t offset);
void drawZoomedPreviewLines(Canvas& c, const PlotLayout& l, int32_t viewMin, int32_t viewMax,
                            int32_t amplitude, int32_t offset);

// ---- selection shading -----------------------------------------------------------------

// Not-XOR cyan, solid: drawing a column twice removes it.
platform::Pen shadingPen();
// Toggles the columns between the old and the new shading edge and moves the edge. The
// left shading covers columns MarginLeft+1 .. startX, the right one endX .. plot end - 1.
void moveShadeStart(Canvas& c, const PlotLayout& l, int32_t& shadeStartX, int32_t xs);
void moveShadeEnd(Canvas& c, const PlotLayout& l, int32_t& shadeEndX, int32_t xe);

// ---- the whole graph -----------------------------------------------------------------

struct GraphInput {
    std::span<const uint16_t> codes; // the points; fewer than 2 draw the grid only
    uint16_t reference = 0;
    bool bitPattern = false;
    bool unsignedDisplay = false;
    bool zoomed = false;
    int32_t viewFirst = 0, viewLast = 0, viewMin = 0, viewMax = 0;
    int32_t markerAmplitude = 0, markerOffset = 0;
};

struct GraphOutcome {
    bool drewData = false;         // labels and trace were drawn (shading ran)
    std::optional<AxisRange> axis; // set by an analogue paint with data
    std::optional<bool> zoomAreaAllowed;
    bool zoomedDrawn = false; // the zoomed view was drawn (it was usable)
};

// Draws the graph as a window paint does, after the background. `shade` runs where the
// selection shading belongs (after the trace, before the preview lines); it is not called
// when there is no data to shade.
GraphOutcome drawGraph(Canvas& c, const PlotLayout& l, const GraphInput& in,
                       const std::function<void()>& shade);

} // namespace plotwell::workspace
