#include "platform/canvas_painter.h"

#include "platform/qstring.h"

#include <QPaintEngine>
#include <QPainter>

#include <cstdlib>

namespace plotwell::platform {

namespace {
QColor color(Rgb c) {
    return QColor::fromRgb(QRgb(0xFF000000u | c));
}

QPainter::CompositionMode composition(PenMode m) {
    switch (m) {
    case PenMode::Copy:
        return QPainter::CompositionMode_Source;
    case PenMode::Merge:
        return QPainter::RasterOp_SourceOrDestination;
    case PenMode::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case PenMode::NotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    }
    return QPainter::CompositionMode_Source;
}
} // namespace

PainterCanvas::PainterCanvas(QPainter& painter) : p_(painter) {
    p_.setRenderHint(QPainter::Antialiasing, false);
}

void PainterCanvas::applyPen() {
    QPen pen(color(pen_.color));
    pen.setCosmetic(true);
    pen.setWidth(0);
    switch (pen_.style) {
    case PenStyle::Solid:
        pen.setStyle(Qt::SolidLine);
        break;
    case PenStyle::Dot:
        pen.setStyle(Qt::DotLine);
        break;
    case PenStyle::Dash:
        pen.setStyle(Qt::DashLine);
        break;
    }
    p_.setPen(pen);
    if (p_.paintEngine() && p_.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        p_.setCompositionMode(composition(pen_.mode));
    else
        p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void PainterCanvas::LineTo(int x, int y) {
    const Point from = pos_;
    pos_ = {x, y};
    if (from == pos_)
        return;
    applyPen();
    // A painter's line includes its end point; stop one pixel short along the major axis.
    const int dx = x - from.x, dy = y - from.y;
    int ex = x, ey = y;
    if (std::abs(dx) >= std::abs(dy))
        ex -= dx > 0 ? 1 : -1;
    else
        ey -= dy > 0 ? 1 : -1;
    if (ex == from.x && ey == from.y)
        p_.drawPoint(from.x, from.y);
    else
        p_.drawLine(from.x, from.y, ex, ey);
}

void PainterCanvas::TextOut(int x, int y, const std::string& text) {
    p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p_.setPen(color(fontColor_));
    p_.drawText(x, y + p_.fontMetrics().ascent(), toQString(text));
}

void PainterCanvas::Rectangle(int l, int t, int r, int b) {
    if (r <= l || b <= t)
        return;
    applyPen();
    if (!brush_.hollow)
        p_.fillRect(l, t, r - l, b - t, color(brush_.color));
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(l, t, r - l - 1, b - t - 1);
}

void PainterCanvas::FillRect(int l, int t, int r, int b, Rgb c) {
    p_.setCompositionMode(QPainter::CompositionMode_Source);
    p_.fillRect(l, t, r - l, b - t, color(c));
}

} // namespace plotwell::platform
