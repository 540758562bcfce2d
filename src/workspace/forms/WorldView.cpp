#include "workspace/forms/WorldView.h"

#include "common/numtext.h"
#include "platform/canvas_image.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "workspace/core/trace.h"
#include "workspace/forms/frame_host.h"
#include "workspace/forms/wfmchild.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include <cmath>

using namespace plotwell;
using workspace::Box;

TWorld* World = nullptr;

namespace {
inline constexpr platform::Rgb kOverviewTraceColor = 0xFF00FF;
inline constexpr platform::Rgb kBoxColor = 0xFFFFFF;
// How often, and how long at most, a shown window waits for the window manager to frame it.
inline constexpr int kFramedCheckMs = 20;
inline constexpr int kFramedChecks = 500;

bool framedByWindowManager(const QWidget& w) {
    return w.frameGeometry() != w.geometry();
}

// Where the overview's outer corner goes: 22 px below the top of the frame's outer rectangle
// `frame`, flush with its right edge.
QPoint besideFrameTop(const QRect& frame, int outerWidth) {
    return {frame.left() + frame.width() - outerWidth, frame.top() + 22};
}
} // namespace

TWorld::TWorld(QWidget* parent) : Form("World", parent) {
    // A tool window above the frame, without border icons, that never takes the focus
    // from the waveform window when it appears.
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(ClientWidth, ClientHeight);
    setWindowTitle("Zoom");
    framedCheck_ = new QTimer(this);
    framedCheck_->setInterval(kFramedCheckMs);
    connect(framedCheck_, &QTimer::timeout, this, &TWorld::PlaceWhenFramed);
}

void TWorld::ShowFor(TWFMform* w) {
    if (!w)
        return;
    Shown = w;
    setWindowTitle(
        platform::toQString(common::cformat("Zoom %s", platform::fileNameOnly(w->Doc.WaveName).c_str())));
    if (!isVisible()) {
        FormShow();
        show();
        // Where a window manager frames the windows, the toolkit reads FormShow's place as the
        // outer corner or as the client area's corner by what it last heard of this window's
        // frame, and the window manager takes the frame off at each hide. So the window is
        // placed again once it shows with its frame; no event tells when that is, hence the
        // timer.
        if (FrameHost && FrameHost->FrameWidget() && framedByWindowManager(*FrameHost->FrameWidget())) {
            framedChecksLeft_ = kFramedChecks;
            framedCheck_->start();
        }
    }
    Refresh();
}

void TWorld::FormShow() {
    if (!FrameHost)
        return;
    if (QWidget* f = FrameHost->FrameWidget()) {
        const QRect g = f->frameGeometry();
        // Until the window manager has framed this window once, its frame is unknown: take
        // the sides of the frame's own border. Before the native window exists, move()
        // places the outer corner and the window manager fits its title bar below it, so
        // nothing here may create the native window early.
        int outerWidth = frameGeometry().width();
        if (outerWidth == width())
            outerWidth += g.width() - f->width();
        move(besideFrameTop(g, outerWidth));
    }
}

void TWorld::PlaceWhenFramed() {
    if (!isVisible() || --framedChecksLeft_ < 0) {
        framedCheck_->stop();
        return;
    }
    // A mapped window has been framed and placed by the window manager. The native window's
    // frame is the one the window manager reports; the widget's copy of it can lag a hide.
    QWindow* native = windowHandle();
    QWidget* f = FrameHost ? FrameHost->FrameWidget() : nullptr;
    if (!f || !native || !native->isExposed() || native->frameGeometry() == native->geometry())
        return;
    framedCheck_->stop();
    const QMargins m = native->frameMargins();
    native->setPosition(besideFrameTop(f->frameGeometry(), native->frameGeometry().width()) +
                        QPoint(m.left(), m.top()));
}

bool TWorld::WaitingForFrame() const {
    return framedCheck_->isActive();
}

Box TWorld::box() const {
    return {BoxRect[0], BoxRect[3], BoxRect[2], BoxRect[1]};
}

void TWorld::setBox(const Box& b) {
    BoxRect = {b.left, b.bottom, b.right, b.top};
}

void TWorld::Refresh() {
    FormPaint();
    update();
}

void TWorld::FormPaint() {
    if (Surface.size() != size())
        Surface = QImage(size(), QImage::Format_RGB32);
    Surface.fill(Qt::black);
    TWFMform* w = Shown;
    if (!w || w->Doc.PointCount() < 2)
        return;
    const auto& s = *w->Doc.SampleStream;
    const workspace::PlotLayout l = workspace::overviewLayout(width(), height());
    platform::ImageCanvas c(Surface, font());
    c.SetPen({kOverviewTraceColor, platform::PenStyle::Solid, platform::PenMode::Copy});
    const double d = workspace::overviewDivisor(s.reference(), w->Doc.UnsignedDisplay);
    workspace::drawMinMaxTrace(c, s.codes(), l, d);
    if (const auto v = w->ZoomedView()) {
        setBox(workspace::overviewBox(*v, l, w->Doc.PointCount(), s.midCode(), d));
        DrawZoomBox(c);
    }
}

void TWorld::DrawZoomBox(platform::Canvas& c) {
    const Box b = box();
    c.SetPen({kBoxColor, platform::PenStyle::Solid, platform::PenMode::Xor});
    c.SetBrush({0x000000, true});
    c.Rectangle(b.left, b.top, b.right, b.bottom);
    SmallBox = workspace::isSmallBox(b) ? 1 : 0;
    if (!SmallBox)
        return;
    // A circle around a box too small to see; its own polygon, so that drawing it twice
    // in XOR leaves nothing behind.
    const double cx = (b.left + b.right) / 2.0, cy = (b.top + b.bottom) / 2.0;
    const double radius = workspace::kBoxCircle / 2.0;
    constexpr int kSteps = 24;
    c.MoveTo(int(std::lround(cx + radius)), int(std::lround(cy)));
    for (int k = 1; k <= kSteps; ++k) {
        const double a = 2 * M_PI * k / kSteps;
        c.LineTo(int(std::lround(cx + radius * std::cos(a))), int(std::lround(cy + radius * std::sin(a))));
    }
}

void TWorld::xorBox() {
    if (Surface.isNull())
        return;
    platform::ImageCanvas c(Surface, font());
    DrawZoomBox(c);
}

void TWorld::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (Surface.size() != size())
        FormPaint();
    p.drawImage(0, 0, Surface);
}

void TWorld::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    FormPaint();
}

void TWorld::FormMouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton || !Shown || !Shown->ZoomedView())
        return;
    const Box b = box();
    if (!workspace::boxGrabbed(b, x, y))
        return;
    BoxGrab = {x - b.left, y - b.top};
    BoxDragging = 1;
    platform::setScreenCursor(platform::ScreenCursor::Hidden);
}

void TWorld::FormMouseMove(int x, int y) {
    if (!BoxDragging)
        return;
    xorBox();
    setBox(workspace::dragBox(box(), x, y, BoxGrab[0], BoxGrab[1], width(), height()));
    xorBox();
    update();
}

void TWorld::FormMouseUp() {
    if (!BoxDragging)
        return;
    BoxDragging = 0;
    platform::setScreenCursor(platform::ScreenCursor::Default);
    TWFMform* w = Shown;
    if (!w)
        return;
    w->SavedView[2] = -1;
    const auto old = w->ZoomedView();
    if (!old)
        return;
    const auto& s = *w->Doc.SampleStream;
    const auto v =
        workspace::boxView(box(), *old, workspace::overviewLayout(width(), height()), w->Doc.PointCount(),
                           s.midCode(), workspace::overviewDivisor(s.reference(), w->Doc.UnsignedDisplay));
    if (v)
        w->SetView(*v);
    w->update();
    // The box is drawn again where the view really went.
    Refresh();
    FocusFrame();
}

void TWorld::mousePressEvent(QMouseEvent* e) {
    FormMouseDown(e->button(), int(e->position().x()), int(e->position().y()));
}

void TWorld::mouseMoveEvent(QMouseEvent* e) {
    FormMouseMove(int(e->position().x()), int(e->position().y()));
}

void TWorld::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton)
        FormMouseUp();
}
