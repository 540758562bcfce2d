#pragma once
// The canvas of a window's pixels: draws straight into a QImage (Format_RGB32) with our own
// rasteriser, because QPainter's lines include their end pixel and its raster operations
// are not the pen modes of the graph code.

#include "platform/canvas/canvas.h"

#include <QFont>

class QImage;

namespace plotwell::platform {

class ImageCanvas : public Canvas {
public:
    // `image` must be Format_RGB32 and outlive the canvas.
    explicit ImageCanvas(QImage& image, const QFont& font = QFont());

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, const std::string& text) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void FillRect(int left, int top, int right, int bottom, Rgb color) override;

    // The pixel at (x, y) as 0xRRGGBB.
    Rgb pixel(int x, int y) const;

private:
    void plot(int x, int y) {
        if (penDrawsAt(pen_.style, step_++) && unsigned(x) < unsigned(w_) && unsigned(y) < unsigned(h_)) {
            uint32_t& p = bits_[std::size_t(y) * std::size_t(stride_) + std::size_t(x)];
            p = 0xFF000000u | combinePixel(pen_.mode, pen_.color, p);
        }
    }

    QImage& image_;
    QFont font_;
    uint32_t* bits_;
    int w_, h_, stride_;
    int step_ = 0; // pixels since the last MoveTo, for the dot and dash patterns
};

} // namespace plotwell::platform
