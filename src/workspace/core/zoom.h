#pragma once
// The zoomed view of a waveform window and the arithmetic that moves it: the rubber band,
// Zoom out, and the overview window's box. Values are stored codes minus R' (R' = 32768 for
// normalised data, else the reference word). A band or Zoom out never makes the view
// narrower than 100 points or 100 value units; a dropped overview box keeps the value span
// its pixels give. The view never leaves the data.

#include "workspace/core/plot_layout.h"

#include <cstdint>
#include <optional>

namespace plotwell::workspace {

struct View {
    int32_t first = 0, last = 0; // sample range ViewFirst..ViewLast
    int32_t min = 0, max = 0;    // value range ViewMin..ViewMax
    bool operator==(const View&) const = default;
};

inline constexpr int32_t kMinViewPoints = 100;
inline constexpr int32_t kMinViewUnits = 100;

// Widens a view below the minimum spans (at its low end, shifting back at the data's top)
// and shifts it inside 0..N-1 and -R'..R'-1, keeping its spans. nullopt when the data can
// no longer be zoomed (fewer than 100 points): the whole waveform shows.
std::optional<View> clampView(View v, int pointCount, int32_t midCode);

// A band dragged from (x1, y1) to (x2, y2), in window pixels.
struct Band {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// A band of more than 5 px in both directions zooms.
bool bandZooms(const Band& b);

// The view a band selects, inside the whole waveform or inside `current` when the window is
// zoomed. nullopt when the band is too small or the plot has no pixels to map.
std::optional<View> bandView(Band b, const PlotLayout& l, int pointCount, int32_t midCode,
                             const std::optional<View>& current);

// Zoom out without a saved view: both spans double about their centres, a span that
// cannot double covers the whole range. nullopt when neither can grow (Zoom full).
std::optional<View> zoomOutView(const View& v, int pointCount, int32_t midCode);

// ---- the overview window -------------------------------------------------------------

// Margins 1, 1 (left, right), 2, 2 (top, bottom); the plot is 10 whole steps wide.
PlotLayout overviewLayout(int clientWidth, int clientHeight);
// D of the overview: 2R, or 2R-1 for unsigned display; 65536 for normalised data.
double overviewDivisor(uint16_t reference, bool unsignedDisplay);

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Box&) const = default;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};
inline constexpr int kSmallBox = 10;     // narrower or lower than this gets a circle
inline constexpr int kBoxCircle = 14;    // the circle's diameter
inline constexpr int kSmallBoxReach = 7; // a small box can be grabbed this far outside it

// Where the view lies on the overview's plot.
Box overviewBox(const View& v, const PlotLayout& ol, int pointCount, int32_t midCode, double divisor);
bool isSmallBox(const Box& b);
// Whether a press at (x, y) grabs the box.
bool boxGrabbed(const Box& b, int x, int y);
// The box dragged so that the grab point follows the pointer, kept within the client
// area less the margins, keeping its size.
Box dragBox(const Box& b, int x, int y, int grabX, int grabY, int clientWidth, int clientHeight);
// The view the released box shows; its x span stays the old one, its value range is read
// from the box's edges. nullopt when the overview's plot has no pixels.
std::optional<View> boxView(const Box& b, const View& old, const PlotLayout& ol, int pointCount,
                            int32_t midCode, double divisor);

} // namespace plotwell::workspace
