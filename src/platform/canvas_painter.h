#pragma once
// The canvas on a QPainter: printers, SVG and bitmap pictures. Pen modes map to the
// painter's raster operations, which take effect on raster devices only; on a printer or
// in a picture every mode draws as copy, which is what paper can show anyway.

#include "platform/canvas/canvas.h"

class QPainter;

namespace plotwell::platform {

class PainterCanvas : public Canvas {
public:
    explicit PainterCanvas(QPainter& painter);

    void LineTo(int x, int y) override;
    void TextOut(int x, int y, const std::string& text) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void FillRect(int left, int top, int right, int bottom, Rgb color) override;

private:
    void applyPen();
    QPainter& p_;
};

} // namespace plotwell::platform
