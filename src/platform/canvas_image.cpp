#include "platform/canvas_image.h"

#include "platform/qstring.h"

#include <QImage>
#include <QPainter>

#include <cassert>
#include <cstdlib>

namespace plotwell::platform {

ImageCanvas::ImageCanvas(QImage& image, const QFont& font)
    : image_(image), font_(font), bits_(reinterpret_cast<uint32_t*>(image.bits())), w_(image.width()),
      h_(image.height()), stride_(int(image.bytesPerLine() / 4)) {
    assert(image.isNull() || image.format() == QImage::Format_RGB32);
}

void ImageCanvas::MoveTo(int x, int y) {
    Canvas::MoveTo(x, y);
    step_ = 0;
}

void ImageCanvas::LineTo(int x1, int y1) {
    const int x0 = pos_.x, y0 = pos_.y;
    pos_ = {x1, y1};
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    // Straight lines are most of a graph: walk them without the error term.
    if (dx == 0) {
        for (int i = 0, y = y0; i < dy; ++i, y += sy)
            plot(x0, y);
        return;
    }
    if (dy == 0) {
        for (int i = 0, x = x0; i < dx; ++i, x += sx)
            plot(x, y0);
        return;
    }
    // Bresenham along the major axis; the end point is left out.
    int x = x0, y = y0;
    if (dx >= dy) {
        int err = 2 * dy - dx;
        for (int i = 0; i < dx; ++i) {
            plot(x, y);
            if (err > 0) {
                y += sy;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += sx;
        }
    } else {
        int err = 2 * dx - dy;
        for (int i = 0; i < dy; ++i) {
            plot(x, y);
            if (err > 0) {
                x += sx;
                err -= 2 * dy;
            }
            err += 2 * dx;
            y += sy;
        }
    }
}

void ImageCanvas::TextOut(int x, int y, const std::string& text) {
    QPainter p(&image_);
    p.setFont(font_);
    p.setPen(QColor::fromRgb(QRgb(0xFF000000u | fontColor_)));
    p.drawText(x, y + p.fontMetrics().ascent(), toQString(text));
    // QPainter may have detached the image; keep writing where it paints.
    bits_ = reinterpret_cast<uint32_t*>(image_.bits());
}

void ImageCanvas::Rectangle(int l, int t, int r, int b) {
    if (r <= l || b <= t)
        return;
    if (!brush_.hollow) {
        const Pen saved = pen_;
        pen_ = {brush_.color, PenStyle::Solid, saved.mode};
        for (int y = t + 1; y < b - 1; ++y) {
            for (int x = l + 1; x < r - 1; ++x)
                plot(x, y);
        }
        pen_ = saved;
    }
    MoveTo(l, t);
    LineTo(r - 1, t);
    LineTo(r - 1, b - 1);
    LineTo(l, b - 1);
    LineTo(l, t);
}

void ImageCanvas::FillRect(int l, int t, int r, int b, Rgb color) {
    l = std::max(l, 0);
    t = std::max(t, 0);
    r = std::min(r, w_);
    b = std::min(b, h_);
    for (int y = t; y < b; ++y) {
        uint32_t* row = bits_ + std::size_t(y) * std::size_t(stride_);
        for (int x = l; x < r; ++x)
            row[x] = 0xFF000000u | color;
    }
}

Rgb ImageCanvas::pixel(int x, int y) const {
    if (unsigned(x) >= unsigned(w_) || unsigned(y) >= unsigned(h_))
        return 0;
    return bits_[std::size_t(y) * std::size_t(stride_) + std::size_t(x)] & 0xFFFFFF;
}

} // namespace plotwell::platform
