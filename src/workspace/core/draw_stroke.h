#pragma once
// Drawing on a waveform with the mouse: pixels to sample indices and codes, the Shift snap
// of a line, and writing a stroke into the samples. A stroke fills every sample between its
// ends, however many fall into one pixel column.

#include "workspace/core/plot_layout.h"
#include "workspace/core/zoom.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace plotwell::workspace {

// What a pixel maps onto: the whole waveform or the zoomed view, with the layout of the
// last paint. midCode is R' (32768 for normalised data).
struct DrawMapping {
    PlotLayout layout;
    int pointCount = 0;
    int32_t midCode = 0;
    bool normalised = false;  // reference word 1
    std::optional<View> view; // set when zoomed
};

// Within 2 px of the plot area.
bool inDrawPlot(int x, int y, const PlotLayout& l);
// index(x) and code(y) as the pen sees them (not clamped; a plot without pixels maps
// everything onto its first index and lowest code).
int32_t drawIndex(int x, const DrawMapping& m);
int32_t drawCode(int y, const DrawMapping& m);

// The read-out under the pointer: "X = %d  Y = %-d", zoomed "X: %d  Y: %-d", and for
// normalised data "X = %d  Y = %+1.3f".
std::string coordinatesText(int x, int y, const DrawMapping& m);

// Shift snap: a point that differs from `last` in both x and y moves onto last's x when
// |dy| / |dx| > verticalRatio, onto last's y when |dx| / |dy| > 2; when both would apply,
// neither does. The rubber line snaps vertically above 1, a click above 3.
inline constexpr int kPointerVerticalRatio = 1;
inline constexpr int kClickVerticalRatio = 3;
struct PixelPoint {
    int x = 0, y = 0;
    bool operator==(const PixelPoint&) const = default;
};
PixelPoint snapToAxis(PixelPoint last, PixelPoint p, int verticalRatio);

struct Stroke {
    int32_t startIndex = 0, endIndex = 0, startCode = 0, endCode = 0;
    bool operator==(const Stroke&) const = default;
};

// A committed line whose ends fall on one sample changes two: at index 0 (or before) the
// end moves one right, else the start moves one left, taking that sample's present code.
Stroke widenSingleSample(Stroke s, std::span<const uint16_t> codes);

// Writes a stroke: the ends ordered, the indices kept within the samples and the codes
// within 0..2R'-1; a single sample gets the start code, otherwise the samples are
// interpolated linearly from end to end. Returns the stroke as written, or nullopt when
// there are no samples.
std::optional<Stroke> writeStroke(Stroke s, std::span<uint16_t> codes, int32_t midCode);

} // namespace plotwell::workspace
