#include "workspace/forms/wfmchild.h"

#include "common/numtext.h"
#include "platform/canvas_image.h"
#include "platform/font_fit.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "workspace/core/limits.h"
#include "workspace/core/trace.h"
#include "workspace/forms/WorldView.h"
#include "workspace/forms/frame_host.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>

#include <algorithm>
#include <functional>
#include <memory>

using namespace plotwell;
using workspace::PlotLayout;
using workspace::WaveFileType;

namespace {

// A cursor image: a 12 x 12 picture that passes its mouse events to the window. While it is
// dragged it stays a (blank) widget, because hiding the widget that holds the mouse would
// end the drag; its moves keep arriving relative to where it stood at the grab.
class CursorImage : public QLabel {
public:
    CursorImage(QWidget* parent, const char* name, bool start, bool bright) : QLabel(parent) {
        setObjectName(QString::fromLatin1(name));
        setFixedSize(TWFMform::CursorImageSize, TWFMform::CursorImageSize);
        setScaledContents(true);
        picture_ = makePicture(start, bright);
        setPixmap(picture_);
        hide();
    }
    // Blank while its bright twin is dragged in its place.
    void setBlank(bool blank) { setPixmap(blank ? QPixmap() : picture_); }
    bool blank() const { return pixmap().isNull(); }

    std::function<void(Qt::MouseButton, int)> down;
    std::function<void(int)> moved;
    std::function<void()> up;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (down)
            down(e->button(), int(e->position().x()));
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (moved)
            moved(int(e->position().x()));
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        if (up)
            up();
    }

private:
    // A start cursor is a wedge whose right edge marks the cursor column; an end cursor
    // is its mirror, marking with its left edge.
    static QPixmap makePicture(bool start, bool bright) {
        const int s = TWFMform::CursorImageSize;
        QPixmap pm(s, s);
        // Only the wedge covers the window: the top value label reaches under the start
        // cursor's square and stays readable there.
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        const QColor c = bright ? QColor(0x00, 0xFF, 0xFF) : QColor(0x00, 0x80, 0x80);
        p.setPen(c);
        p.setBrush(c);
        QPolygon wedge;
        if (start)
            wedge << QPoint(s - 1, 0) << QPoint(s - 1, s - 1) << QPoint(0, 0);
        else
            wedge << QPoint(0, 0) << QPoint(0, s - 1) << QPoint(s - 1, 0);
        p.drawPolygon(wedge);
        return pm;
    }
    QPixmap picture_;
};

CursorImage* image(QLabel* l) {
    return static_cast<CursorImage*>(l);
}

} // namespace

// ---- creation, layout and the paint's side effects ---------------------------------------

void TWFMform::CreateViewControls() {
    auto* ds = new CursorImage(this, "dimStartCursorImage", true, false);
    auto* de = new CursorImage(this, "dimEndCursorImage", false, false);
    dimStartCursorImage = ds;
    dimEndCursorImage = de;
    StartCursorImage = new CursorImage(this, "StartCursorImage", true, true);
    EndCursorImage = new CursorImage(this, "EndCursorImage", false, true);
    ds->down = [this](Qt::MouseButton b, int x) { dimStartCursorImageMouseDown(b, x); };
    ds->moved = [this](int x) { dimStartCursorImageMouseMove(x); };
    ds->up = [this] { dimStartCursorImageMouseUp(); };
    de->down = [this](Qt::MouseButton b, int x) { dimEndCursorImageMouseDown(b, x); };
    de->moved = [this](int x) { dimEndCursorImageMouseMove(x); };
    de->up = [this] { dimEndCursorImageMouseUp(); };
    ComputeLayout();
}

void TWFMform::ComputeLayout() {
    const PlotLayout l = workspace::plotLayout(width(), height());
    MarginLeft = l.MarginLeft;
    MarginRight = l.MarginRight;
    MarginBottom = l.MarginBottom;
    MarginTop = l.MarginTop;
    AxisLabelsShown = l.AxisLabelsShown;
    GridCellHeight = l.GridCellHeight;
    GridCellWidth = l.GridCellWidth;
    PlotHeight = l.PlotHeight;
    PlotWidth = l.PlotWidth;
}

PlotLayout TWFMform::Layout() const {
    PlotLayout l;
    l.MarginLeft = MarginLeft;
    l.MarginRight = MarginRight;
    l.MarginBottom = MarginBottom;
    l.MarginTop = MarginTop;
    l.AxisLabelsShown = AxisLabelsShown;
    l.GridCellHeight = GridCellHeight;
    l.GridCellWidth = GridCellWidth;
    l.PlotHeight = PlotHeight;
    l.PlotWidth = PlotWidth;
    return l;
}

workspace::CursorSpan TWFMform::CursorSpan() const {
    const int n = Doc.PointCount();
    // A bit pattern's view is a sample range only; its levels are always the full scale.
    const bool bits = Doc.FileType == WaveFileType::BitPattern;
    if (workspace::zoomedViewUsable(Zoomed, ViewFirst, ViewLast, bits ? 0 : ViewMin, bits ? 1 : ViewMax, n))
        return {true, ViewFirst, ViewLast, n};
    return {false, 0, 0, n};
}

void TWFMform::UpdateZoomArea() {
    if (Doc.FileType != WaveFileType::BitPattern) {
        const int n = Doc.PointCount();
        ZoomAreaEnabled = n >= 2 && workspace::zoomAreaAllowed(n, Doc.SampleStream->reference());
    }
    // The frame's one Zoom area item shows the state of the window that is active.
    if (FrameHost)
        FrameHost->UpdateZoomAreaItem(*this);
}

// ---- paint ---------------------------------------------------------------------------------

void TWFMform::paintEvent(QPaintEvent* event) {
    // Parts of the window that were invalidated since the surface was last brought up to
    // date are rendered afresh; shading toggled into the surface is only shown.
    if (!(event->region() - surfaceCurrent_).isEmpty() && !(Dragging && !DrawMode))
        renderSurface();
    surfaceCurrent_ = QRegion();
    QPainter p(this);
    if (Surface.size() != size())
        p.fillRect(rect(), Qt::black);
    p.drawImage(0, 0, Surface);
}

void TWFMform::mousePressEvent(QMouseEvent* event) {
    FormMouseDown(event->button(), event->modifiers(), int(event->position().x()),
                  int(event->position().y()));
}

void TWFMform::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TWFMform::showSurface(const QRect& r) {
    surfaceCurrent_ += r;
    update(r);
}

namespace {

// The cell a label's characters take; leading blanks only pad ("%6d").
QRect labelInk(const QFontMetrics& fm, const workspace::AxisLabel& a) {
    const QString text = QString::fromStdString(a.text);
    const QString body = text.trimmed();
    const int lead = fm.horizontalAdvance(text.left(text.indexOf(body)));
    return QRect(a.x + lead, a.y, fm.horizontalAdvance(body), fm.height());
}

// Whether every label of a window of `width` x `height` stands where the layout puts it: the
// value labels left of the plot, the index labels inside the window, none over another.
bool labelsFit(const QFont& font, int width, int height) {
    const PlotLayout l = workspace::plotLayout(width, height);
    const QFontMetrics fm(font);
    // The widest texts of each kind: 16-bit, unsigned and normalised values, 7-digit indices.
    const int32_t first = 1000000, last = workspace::kMaxPoints - 1;
    const std::vector<std::vector<workspace::AxisLabel>> sets = {
        workspace::unzoomedLabels(l, 32768, false, last + 1),
        workspace::unzoomedLabels(l, 32768, true, last + 1),
        workspace::unzoomedLabels(l, 1, false, last + 1),
        workspace::zoomedLabels(l, 1, false, first, last, -32768, 32767),
        workspace::zoomedLabels(l, 32768, false, first, last, -32768, 32767),
        workspace::bitPatternLabels(l, first, last),
    };
    const QRect window(0, 0, width, height);
    for (const auto& labels : sets) {
        std::vector<QRect> cells;
        for (const workspace::AxisLabel& a : labels) {
            const QRect cell = labelInk(fm, a);
            const bool besidePlot = a.y < l.PlotHeight + 20;
            if (!window.contains(cell) || (besidePlot && cell.right() >= l.MarginLeft))
                return false;
            for (const QRect& other : cells)
                if (cell.intersects(other))
                    return false;
            cells.push_back(cell);
        }
    }
    return true;
}

} // namespace

// The layout's places were made for a small bitmap font; the window's own font is larger on
// most desktops. The labels keep their places and take the window's font at the largest size
// with which the widest label of each kind fits, tried on a window whose plot leaves no spare
// pixels at the right and bottom.
QFont TWFMform::AxisLabelFont() const {
    static QString lastKey;
    static QFont chosen;
    const QFont base = font();
    if (base.key() == lastKey)
        return chosen;
    chosen = platform::largestFittingFont(base, SmallestLabelPixels,
                                          [](const QFont& f) { return labelsFit(f, 275, 211); });
    lastKey = base.key();
    return chosen;
}

void TWFMform::FormPaint() {
    // Nothing is drawn while a selection cursor image is dragged.
    if (Dragging && !DrawMode)
        return;
    renderSurface();
    showSurface(rect());
}

void TWFMform::renderSurface() {
    ComputeLayout();
    if (width() <= 0 || height() <= 0)
        return;
    if (Surface.size() != size())
        Surface = QImage(size(), QImage::Format_RGB32);
    platform::ImageCanvas canvas(Surface, AxisLabelFont());
    canvas.FillRect(0, 0, width(), height(), 0x000000);
    if (ShadeStartX == 0) {
        ShadeStartX = MarginLeft;
        ShadeEndX = MarginLeft + PlotWidth;
    }
    const workspace::GraphInput in = GraphData();
    const auto out = workspace::drawGraph(canvas, Layout(), in, [&] { shadeOn(canvas, true); });
    if (out.axis) {
        Reference = in.reference;
        AxisMax = out.axis->max;
        AxisMin = out.axis->min;
    }
    UpdateZoomArea();
    if (!out.drewData || !AxisLabelsShown) {
        dimStartCursorImage->hide();
        dimEndCursorImage->hide();
    }
    drawOverlays(canvas);
}

workspace::GraphInput TWFMform::GraphData() const {
    workspace::GraphInput in;
    if (Doc.SampleStream)
        in.codes = Doc.SampleStream->codes();
    in.reference = Doc.SampleStream ? Doc.SampleStream->reference() : 0;
    in.bitPattern = Doc.FileType == WaveFileType::BitPattern;
    in.unsignedDisplay = Doc.UnsignedDisplay;
    in.zoomed = Zoomed;
    in.viewFirst = ViewFirst;
    in.viewLast = ViewLast;
    in.viewMin = ViewMin;
    in.viewMax = ViewMax;
    in.markerAmplitude = MarkerAmplitude;
    in.markerOffset = MarkerOffset;
    return in;
}

void TWFMform::FormResize() {
    if (DrawMode)
        EndPendingLine();
    dimStartCursorImage->move(0, dimStartCursorImage->y());
    dimEndCursorImage->move(0, dimEndCursorImage->y());
    dimStartCursorImage->hide();
    dimEndCursorImage->hide();
    ShadeStartX = 0;
    if (DrawMode && (width() < 250 || height() < 150)) {
        const QSize grow(std::max(0, 250 - width()), std::max(0, 150 - height()));
        if (QMdiSubWindow* sw = subWindow())
            sw->resize(sw->size() + grow);
        else
            resize(size() + grow);
    }
    ComputeLayout();
    PlaceDrawControls();
    Coordinates->hide();
    Surface = QImage(size(), QImage::Format_RGB32);
    Surface.fill(Qt::black);
    surfaceCurrent_ = QRegion();
    update();
}

// ---- selection shading and cursors ---------------------------------------------------------

void TWFMform::shadeOn(platform::Canvas& canvas, bool placeImages) {
    // A single point has no span to map the cursors onto.
    if (Doc.PointCount() < 2)
        return;
    Doc.NormaliseSelection();
    canvas.SetPen(workspace::shadingPen());
    const PlotLayout l = Layout();
    const auto span = CursorSpan();
    const int w = CursorImageSize;
    const int32_t xs = workspace::cursorX(Doc.SelectionStart, span, l);
    // A fresh paint starts from a clean background, so the shading starts from the plot
    // edges; small windows have no images but restart their shading as well.
    if (placeImages) {
        ShadeStartX = MarginLeft;
        if (AxisLabelsShown) {
            dimStartCursorImage->move(xs - w, 1);
            dimStartCursorImage->show();
        }
    }
    workspace::moveShadeStart(canvas, l, ShadeStartX, xs);
    const int32_t xe = workspace::cursorX(Doc.SelectionEnd, span, l);
    if (placeImages) {
        ShadeEndX = MarginLeft + PlotWidth;
        if (AxisLabelsShown) {
            dimEndCursorImage->move(xe, 1);
            dimEndCursorImage->show();
        }
    }
    workspace::moveShadeEnd(canvas, l, ShadeEndX, xe);
}

void TWFMform::DrawSelectionShading(bool placeImages) {
    ComputeLayout();
    if (Surface.size() != size() || Surface.isNull()) {
        // The surface is about to be rendered afresh; that paint draws the shading.
        Doc.NormaliseSelection();
        update();
        return;
    }
    platform::ImageCanvas canvas(Surface, AxisLabelFont());
    shadeOn(canvas, placeImages);
    showSurface(QRect(MarginLeft, MarginTop, PlotWidth + 1, PlotHeight + 1));
}

// The start and end cursors drag alike; the end is the start's mirror.
namespace {
struct CursorPair {
    QLabel* dim;
    QLabel* bright;
};
} // namespace

static CursorPair cursorPair(TWFMform* w, bool end) {
    return end ? CursorPair{w->dimEndCursorImage, w->EndCursorImage}
               : CursorPair{w->dimStartCursorImage, w->StartCursorImage};
}

void TWFMform::cursorDown(bool end, Qt::MouseButton button, int x) {
    if (button != Qt::LeftButton || Doc.PointCount() < 2)
        return;
    ComputeLayout();
    const CursorPair c = cursorPair(this, end);
    c.bright->move(c.dim->pos());
    DragStartX = x;
    DragGrabOffset = c.dim->x() - x;
    c.bright->show();
    c.bright->raise();
    image(c.dim)->setBlank(true);
    Dragging = 1;
}

void TWFMform::cursorMove(bool end, int x) {
    if (!Dragging || Doc.PointCount() < 2)
        return;
    const int w = CursorImageSize;
    const CursorPair c = cursorPair(this, end);
    // The start stops at the end cursor and the end at the start cursor; both stop at the
    // plot's edges.
    const int lo = end ? dimStartCursorImage->x() + w : MarginLeft - w;
    const int hi = end ? MarginLeft + PlotWidth : dimEndCursorImage->x() - w;
    const int left = std::max(std::min(DragGrabOffset + x, hi), lo);
    c.bright->move(left, c.bright->y());
    if (end)
        Doc.SelectionEnd = workspace::endIndexAt(left, CursorSpan(), Layout());
    else
        Doc.SelectionStart = workspace::startIndexAt(left, w, CursorSpan(), Layout());
    DrawSelectionShading(false);
    PublishStatus();
}

void TWFMform::cursorUp(bool end) {
    if (!Dragging)
        return;
    Dragging = 0;
    const CursorPair c = cursorPair(this, end);
    c.dim->move(c.bright->pos());
    image(c.dim)->setBlank(false);
    c.dim->show();
    c.bright->hide();
}

void TWFMform::dimStartCursorImageMouseDown(Qt::MouseButton button, int x) {
    cursorDown(false, button, x);
}
void TWFMform::dimStartCursorImageMouseMove(int x) {
    cursorMove(false, x);
}
void TWFMform::dimStartCursorImageMouseUp() {
    cursorUp(false);
}
void TWFMform::dimEndCursorImageMouseDown(Qt::MouseButton button, int x) {
    cursorDown(true, button, x);
}
void TWFMform::dimEndCursorImageMouseMove(int x) {
    cursorMove(true, x);
}
void TWFMform::dimEndCursorImageMouseUp() {
    cursorUp(true);
}

void TWFMform::Selectall1Click() {
    const int n = Doc.PointCount();
    if (n < 2)
        return;
    ComputeLayout();
    dimStartCursorImage->move(MarginLeft - CursorImageSize, dimStartCursorImage->y());
    Doc.SelectionStart = 0;
    dimEndCursorImage->move(MarginLeft + PlotWidth, dimEndCursorImage->y());
    Doc.SelectionEnd = n - 1;
    dimStartCursorImage->hide();
    dimEndCursorImage->hide();
    DrawSelectionShading(false);
    PublishStatus();
}

// The dialog belongs to the operations above the window; the frame runs it on this window.
void TWFMform::Selectlimits1Click() {
    if (FrameHost)
        FrameHost->SelectLimits(*this);
}

// ---- activation and the status panel ----------------------------------------------------

void TWFMform::FormActivate() {
    if (Doc.FileType == WaveFileType::None)
        showEmptyStatus();
    else
        PublishStatus();
    if (World) {
        if (!Zoomed) {
            if (World->isVisible()) {
                World->hide();
                if (TWFMform* shown = World->Shown)
                    shown->update();
            }
        } else {
            ShowOverview();
        }
    }
    if (DrawMode)
        update();
    UpdateTypeMenus();
    UpdateZoomArea();
}

void TWFMform::FormDeactivate() {
    unsetCursor(); // Zoom area ends with the window's turn
    if (MouseHeld) {
        xorBand();
        MouseHeld = 0;
        platform::setScreenCursor(platform::ScreenCursor::Default);
    }
    // Clicking the overview makes it the active window: it stays.
    if (Zoomed && World && World->isVisible() && QApplication::activeWindow() != World)
        World->hide();
    if (DrawMode)
        EndPendingLine();
}

void TWFMform::showEmptyStatus() {
    FrameHost->ShowCursorInfo(platform::fileNameOnly(Doc.WaveName), 0, false, 0, 0, 0, 0, Doc.IsBitPattern);
}

void TWFMform::PublishStatus() {
    if (SuppressStatus || !Doc.SampleStream || !FrameHost)
        return;
    // No point left (a cut of everything): the figures of the points that were there would
    // contradict the window.
    if (Doc.SampleStream->byteLength() < 4) {
        showEmptyStatus();
        return;
    }
    // The selection may have been left past the end by whatever changed the samples.
    Doc.NormaliseSelection();
    const uint16_t r = Doc.SampleStream->reference();
    const int32_t sc = Doc.SampleStream->code(std::size_t(Doc.SelectionStart));
    const int32_t ec = Doc.SampleStream->code(std::size_t(Doc.SelectionEnd));
    float sv, ev;
    if (r == 1) {
        sv = float(sc - 32768) * (1.0f / 32768.0f);
        ev = float(ec - 32768) * (1.0f / 32768.0f);
    } else {
        sv = float(sc - int32_t(r));
        ev = float(ec - int32_t(r));
    }
    if (Doc.UnsignedDisplay) {
        sv += float(r);
        ev += float(r);
    }
    FrameHost->ShowCursorInfo(platform::fileNameOnly(Doc.WaveName), Doc.SelectionStart, r == 1,
                              Doc.SelectionEnd - Doc.SelectionStart + 1, sv, ev, Doc.SelectionEnd,
                              Doc.IsBitPattern);
}
