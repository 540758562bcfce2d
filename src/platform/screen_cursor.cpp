#include "platform/screen_cursor.h"

#include <QBitmap>
#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>

namespace plotwell::platform {

namespace {
ScreenCursor current = ScreenCursor::Default;

QCursor drawPen() {
    static QCursor pen = [] {
        QPixmap pm(":/cursors/drawpen.png");
        return pm.isNull() ? QCursor(Qt::CrossCursor) : QCursor(pm, 0, pm.height() - 1);
    }();
    return pen;
}
} // namespace

void setScreenCursor(ScreenCursor kind) {
    if (kind == current)
        return;
    if (current != ScreenCursor::Default)
        QGuiApplication::restoreOverrideCursor();
    current = kind;
    switch (kind) {
    case ScreenCursor::Default:
        break;
    case ScreenCursor::Busy:
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        break;
    case ScreenCursor::Crosshair:
        QGuiApplication::setOverrideCursor(Qt::CrossCursor);
        break;
    case ScreenCursor::Hidden:
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        break;
    case ScreenCursor::DrawPen:
        QGuiApplication::setOverrideCursor(drawPen());
        break;
    }
}

ScreenCursor screenCursor() {
    return current;
}

void setPointerPos(int x, int y) {
    QCursor::setPos(x, y);
}

} // namespace plotwell::platform
