#include "platform/canvas_image.h"
#include "platform/canvas_painter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace plotwell::platform;

namespace {
QImage blackImage(int w = 40, int h = 30) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::black);
    return img;
}
int litPixels(const ImageCanvas& c, int w, int h) {
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            n += c.pixel(x, y) != 0;
    return n;
}
} // namespace

TEST(ImageCanvas, LineToLeavesOutItsEndPixel) {
    QImage img = blackImage();
    ImageCanvas c(img);
    c.SetPen({0x00FF00, PenStyle::Solid, PenMode::Copy});
    c.MoveTo(5, 2);
    c.LineTo(5, 12); // rows 2..11
    EXPECT_EQ(c.pixel(5, 2), 0x00FF00u);
    EXPECT_EQ(c.pixel(5, 11), 0x00FF00u);
    EXPECT_EQ(c.pixel(5, 12), 0u);
    c.LineTo(15, 12); // from the end point on: (5,12)..(14,12)
    EXPECT_EQ(c.pixel(5, 12), 0x00FF00u);
    EXPECT_EQ(c.pixel(15, 12), 0u);
    c.LineTo(25, 22); // diagonal, ten pixels
    EXPECT_EQ(c.pixel(24, 21), 0x00FF00u);
    EXPECT_EQ(c.pixel(25, 22), 0u);
    EXPECT_EQ(litPixels(c, 40, 30), 30);
}

TEST(ImageCanvas, PenModesCombineWithThePixel) {
    EXPECT_EQ(combinePixel(PenMode::NotXor, 0x00FFFF, 0x000000), 0xFF0000u); // shading is red on black
    EXPECT_EQ(combinePixel(PenMode::NotXor, 0x00FFFF, 0x00FF00), 0xFFFF00u); // yellow over the trace
    EXPECT_EQ(combinePixel(PenMode::NotXor, 0x00FFFF, 0x808080), 0x7F8080u);
    EXPECT_EQ(combinePixel(PenMode::Merge, 0xFF0000, 0x00FF00), 0xFFFF00u);
    EXPECT_EQ(combinePixel(PenMode::Xor, 0xFFFFFF, 0x00FF00), 0xFF00FFu);
    EXPECT_EQ(combinePixel(PenMode::Copy, 0x123456, 0xFFFFFF), 0x123456u);
}

TEST(ImageCanvas, XorAndNotXorDrawnTwiceLeaveThePixelsAsTheyWere) {
    QImage img = blackImage();
    ImageCanvas c(img);
    c.SetPen({0x00FF00, PenStyle::Solid, PenMode::Copy});
    c.MoveTo(0, 10);
    c.LineTo(40, 10);
    const QImage before = img.copy();
    for (PenMode m : {PenMode::Xor, PenMode::NotXor}) {
        c.SetPen({0x00FFFF, PenStyle::Solid, m});
        c.SetBrush({0x000000, false}); // a black brush leaves the inside alone under XOR
        for (int pass = 0; pass < 2; ++pass) {
            c.MoveTo(3, 3);
            c.LineTo(3, 20);
            c.Rectangle(8, 4, 30, 25);
        }
        EXPECT_EQ(img, before);
    }
    // A band's corners are toggled once, so one pass leaves all four visible.
    c.SetPen({0xFFFFFF, PenStyle::Solid, PenMode::Xor});
    c.SetBrush({0, true});
    c.Rectangle(8, 4, 30, 25);
    for (auto [x, y] : {std::pair{8, 4}, {29, 4}, {29, 24}, {8, 24}})
        EXPECT_EQ(c.pixel(x, y), 0xFFFFFFu) << x << "," << y;
    EXPECT_EQ(c.pixel(30, 4), 0u);
    EXPECT_EQ(c.pixel(8, 25), 0u);
}

TEST(ImageCanvas, DotAndDashPensLeaveGaps) {
    QImage img = blackImage(60, 5);
    ImageCanvas c(img);
    c.SetPen({0x808080, PenStyle::Dot, PenMode::Copy});
    c.MoveTo(0, 1);
    c.LineTo(60, 1);
    c.SetPen({0x808080, PenStyle::Dash, PenMode::Copy});
    c.MoveTo(0, 3);
    c.LineTo(60, 3);
    int dots = 0, dashes = 0;
    for (int x = 0; x < 60; ++x) {
        dots += c.pixel(x, 1) != 0;
        dashes += c.pixel(x, 3) != 0;
    }
    EXPECT_EQ(dots, 30);
    EXPECT_GT(dashes, dots);
    EXPECT_LT(dashes, 60);
    EXPECT_EQ(c.pixel(0, 1), 0x808080u); // the pattern starts on at each MoveTo
}

TEST(ImageCanvas, DrawingOffTheImageIsClipped) {
    QImage img = blackImage(10, 10);
    ImageCanvas c(img);
    c.SetPen({0xFFFFFF, PenStyle::Solid, PenMode::Copy});
    c.MoveTo(-100, -5);
    c.LineTo(100, 20);
    c.FillRect(-5, -5, 3, 3, 0xFF0000);
    EXPECT_EQ(c.pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(c.pixel(3, 3), img.pixel(3, 3) & 0xFFFFFF);
}

TEST(ImageCanvas, TextOutAnchorsTheTopLeftOfTheTextCell) {
    QImage img = blackImage(80, 40);
    ImageCanvas c(img);
    c.SetFontColor(0xC0C0C0);
    c.TextOut(10, 12, "H8");
    int top = 40, left = 80;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            if (c.pixel(x, y) != 0) {
                top = std::min(top, y);
                left = std::min(left, x);
            }
    EXPECT_GE(top, 12);     // nothing above the cell
    EXPECT_LT(top, 12 + 8); // the glyphs start near its top, not a baseline above it
    EXPECT_GE(left, 10);
}

TEST(PainterCanvas, LinesStopShortOfTheirEndPixel) {
    QImage img = blackImage();
    {
        QPainter p(&img);
        PainterCanvas c(p);
        c.SetPen({0x00FF00, PenStyle::Solid, PenMode::Copy});
        c.MoveTo(5, 2);
        c.LineTo(5, 12);
        c.SetPen({0x00FFFF, PenStyle::Solid, PenMode::NotXor});
        c.MoveTo(20, 2);
        c.LineTo(20, 4);
    }
    EXPECT_EQ(img.pixel(5, 11) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(img.pixel(5, 12) & 0xFFFFFF, 0u);
    EXPECT_EQ(img.pixel(20, 2) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(img.pixel(20, 4) & 0xFFFFFF, 0u);
}
