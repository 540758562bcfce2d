#pragma once
// A drawing surface with the semantics of the Windows device context that the graph code
// was designed for, so the pixel rules of the graph hold on every back-end:
//   - LineTo draws from the current position up to, but not including, its end point, and
//     makes the end point the current position;
//   - TextOut places the top left of the text cell at (x, y), on a transparent background;
//   - Rectangle(l, t, r, b) outlines columns l..r-1 and rows t..b-1 with the pen and fills
//     the inside with the brush;
//   - the pen mode combines the pen with the pixel: copy, merge (OR), XOR and not-XOR, so
//     XOR and not-XOR graphics drawn twice leave the pixels as they were.
//
// This header is plain C++ so that the layout and trace code of the core can draw on it.
// Back-ends: ImageCanvas (a window's pixels, canvas_image.cpp), PainterCanvas (printer and
// pictures, canvas_painter.cpp) and RecordingCanvas (tests, canvas_recording.h).

#include <cstdint>
#include <string>

namespace plotwell::platform {

// 0xRRGGBB.
using Rgb = uint32_t;

enum class PenMode { Copy, Merge, Xor, NotXor };
enum class PenStyle { Solid, Dot, Dash };

struct Pen {
    Rgb color = 0x000000;
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
    bool operator==(const Pen&) const = default;
};

struct Brush {
    Rgb color = 0xFFFFFF;
    bool hollow = false; // a hollow brush leaves the inside of a rectangle alone
    bool operator==(const Brush&) const = default;
};

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    void SetPen(const Pen& pen) { pen_ = pen; }
    void SetPenMode(PenMode mode) { pen_.mode = mode; }
    const Pen& pen() const { return pen_; }
    void SetBrush(const Brush& brush) { brush_ = brush; }
    const Brush& brush() const { return brush_; }
    void SetFontColor(Rgb color) { fontColor_ = color; }
    Rgb fontColor() const { return fontColor_; }
    Point position() const { return pos_; }

    virtual void MoveTo(int x, int y) { pos_ = {x, y}; }
    // Draws from the current position to (x, y), leaving out (x, y).
    virtual void LineTo(int x, int y) = 0;
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    // Fills l..r-1 x t..b-1 with a colour, whatever the pen and brush (the background).
    virtual void FillRect(int left, int top, int right, int bottom, Rgb color) = 0;

protected:
    Pen pen_;
    Brush brush_;
    Rgb fontColor_ = 0x000000;
    Point pos_;
};

// Combines a pen colour with a pixel colour (both 0xRRGGBB) by a pen mode.
constexpr Rgb combinePixel(PenMode mode, Rgb pen, Rgb pixel) {
    switch (mode) {
    case PenMode::Copy:
        return pen & 0xFFFFFF;
    case PenMode::Merge:
        return (pen | pixel) & 0xFFFFFF;
    case PenMode::Xor:
        return (pen ^ pixel) & 0xFFFFFF;
    case PenMode::NotXor:
        return ~(pen ^ pixel) & 0xFFFFFF;
    }
    return pixel;
}

// Dot and dash patterns as on and off run lengths in pixels; a pattern runs on along
// joined lines and starts again at each MoveTo.
inline constexpr int kDotOn = 3, kDotOff = 3;
inline constexpr int kDashOn = 18, kDashOff = 6;

// True when the pen draws the pixel at `step` (counted from the last MoveTo).
constexpr bool penDrawsAt(PenStyle style, int step) {
    switch (style) {
    case PenStyle::Solid:
        return true;
    case PenStyle::Dot:
        return step % (kDotOn + kDotOff) < kDotOn;
    case PenStyle::Dash:
        return step % (kDashOn + kDashOff) < kDashOn;
    }
    return true;
}

} // namespace plotwell::platform
