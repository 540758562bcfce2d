#include "workspace/forms/wfmchild.h"

#include "platform/canvas_image.h"
#include "platform/font_fit.h"
#include "platform/form.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "workspace/core/draw_stroke.h"
#include "workspace/forms/frame_host.h"
#include "workspace/forms/wfmsetup.h"

#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

using namespace plotwell;
using platform::ScreenCursor;
using workspace::PixelPoint;
using workspace::Stroke;
using workspace::WaveFileType;

namespace {
inline constexpr platform::Rgb kPenColor = 0x00FF00;
} // namespace

// ---- controls ------------------------------------------------------------------------------

void TWFMform::CreateDrawControls() {
    UndoDraw = platform::named(new QPushButton("Undo", this), "UndoDraw");
    FinishDraw = platform::named(new QPushButton("Finish", this), "FinishDraw");
    Coordinates = platform::named(new QLabel("X = 0   Y = 0", this), "Coordinates");
    UndoDraw->setFixedSize(37, 20);
    FinishDraw->setFixedSize(37, 20);
    Coordinates->setFixedSize(130, 17);
    Coordinates->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Coordinates->setAlignment(Qt::AlignCenter);
    Coordinates->setAutoFillBackground(true);
    QPalette pal = Coordinates->palette();
    pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    pal.setColor(QPalette::WindowText, Qt::black);
    Coordinates->setPalette(pal);
    for (QWidget* c : {static_cast<QWidget*>(UndoDraw), static_cast<QWidget*>(FinishDraw),
                       static_cast<QWidget*>(Coordinates)}) {
        c->setFocusPolicy(Qt::NoFocus);
        c->hide();
    }
    connect(UndoDraw, &QPushButton::clicked, this, [this] { UndoDrawClick(); });
    connect(FinishDraw, &QPushButton::clicked, this, [this] { FinishDrawClick(); });
    // The read-out and the rubber line follow the pointer without a button held.
    setMouseTracking(true);
}

void TWFMform::PlaceDrawControls() {
    const int h = height();
    UndoDraw->move(2, h - h / 3);
    FinishDraw->move(2, h - h / 3 - 20);
    Coordinates->move(MarginLeft + PlotWidth / 2 - 65, h - 17);
}

void TWFMform::showCoordinates(const QString& text) {
    // Long indices and values take a smaller size of the font, as the axis labels do.
    const int room = Coordinates->contentsRect().width();
    const QFont f = platform::largestFittingFont(font(), SmallestLabelPixels, [&](const QFont& candidate) {
        return QFontMetrics(candidate).horizontalAdvance(text) <= room;
    });
    if (Coordinates->font() != f)
        Coordinates->setFont(f);
    Coordinates->setText(text);
    Coordinates->show();
}

// ---- Draw, Undo, Finish ----------------------------------------------------------------------

void TWFMform::Draw1Click() {
    if (Doc.FileType == WaveFileType::None) {
        Doc.PatternRequest = 0;
        CurrentWaveWindow = this;
        if (FrameHost)
            FrameHost->NewWaveformSetup();
        // A cancelled set-up leaves the window as it was; the next Draw asks again.
        if (WaveSetup && WaveSetup->result() == platform::mrCancel) {
            WaveSetup->setResult(platform::mrOk);
            return;
        }
    }
    DrawMode = 1;
    RubberLineShown = 0;
    StrokeDrawn = 0;
    Dragging = 0;
    UndoStream = Doc.SampleStream ? std::make_unique<SampleStreamType>(*Doc.SampleStream) : nullptr;
    // Room for the controls beside a plot that can still be drawn on.
    const QSize want(std::max(width(), 250), height() < 150 ? 165 : height());
    if (want != size()) {
        if (QMdiSubWindow* sw = subWindow())
            sw->resize(sw->size() + (want - size()));
        else
            resize(want);
    }
    ComputeLayout();
    PlaceDrawControls();
    UndoDraw->show();
    FinishDraw->show();
    Coordinates->show();
    update();
}

void TWFMform::UndoDrawClick() {
    RubberLineShown = 0;
    StrokeDrawn = 0;
    if (UndoStream)
        Doc.SampleStream = std::make_unique<SampleStreamType>(*UndoStream);
    repaintWithOverview();
    PublishStatus();
    platform::setScreenCursor(ScreenCursor::Default);
}

void TWFMform::FinishDrawClick() {
    if (RubberLineShown)
        xorRubberLine();
    DrawMode = 0;
    RubberLineShown = 0;
    Dragging = 0;
    UndoDraw->hide();
    FinishDraw->hide();
    Coordinates->hide();
    if (StrokeDrawn && Doc.SaveState == 0)
        MarkSamplesChanged();
    UndoStream.reset();
    repaintWithOverview();
    PublishStatus();
    platform::setScreenCursor(ScreenCursor::Default);
}

// The right-button path: the rubber line goes and line mode ends.
void TWFMform::EndPendingLine() {
    if (!DrawMode || !RubberLineShown)
        return;
    xorRubberLine();
    RubberLineShown = 0;
    platform::setScreenCursor(ScreenCursor::Default);
}

// ---- the mouse -------------------------------------------------------------------------------

void TWFMform::mouseMoveEvent(QMouseEvent* e) {
    FormMouseMove(e->modifiers(), int(e->position().x()), int(e->position().y()));
}

void TWFMform::mouseReleaseEvent(QMouseEvent* e) {
    FormMouseUp(e->button(), int(e->position().x()), int(e->position().y()));
}

void TWFMform::FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
    if (button == Qt::RightButton) {
        if (DrawMode)
            EndPendingLine();
        else if (Doc.FileType != WaveFileType::BitPattern && !MouseHeld)
            Selectlimits1Click();
        return;
    }
    // A bit pattern is neither zoomed nor drawn on.
    if (button != Qt::LeftButton || Doc.FileType == WaveFileType::BitPattern)
        return;
    // Outside draw mode every left drag is a band; in draw mode only after Zoom area.
    if (!DrawMode || ZoomAreaPointer()) {
        BandStart(x, y);
        return;
    }
    strokeDown(modifiers, x, y);
}

void TWFMform::FormMouseMove(Qt::KeyboardModifiers modifiers, int x, int y) {
    if (BandMove(x, y))
        return;
    if (DrawMode)
        strokeMove(modifiers, x, y);
}

void TWFMform::FormMouseUp(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton || BandEnd())
        return;
    if (DrawMode)
        strokeUp(x, y);
}

// ---- strokes ---------------------------------------------------------------------------------

workspace::DrawMapping TWFMform::drawMapping() const {
    workspace::DrawMapping m;
    m.layout = Layout();
    m.pointCount = Doc.PointCount();
    m.midCode = Doc.SampleStream ? Doc.SampleStream->midCode() : 0;
    m.normalised = Doc.SampleStream && Doc.SampleStream->reference() == 1;
    m.view = ZoomedView();
    return m;
}

void TWFMform::repaintWithOverview() {
    update();
    RefreshOverview();
}

void TWFMform::xorRubberLine(platform::Canvas* onto) {
    const auto [x1, y1, x2, y2] = StrokePoints;
    xorPolyline(onto, kPenColor, {{x1, y1}, {x2, y2}});
}

void TWFMform::xorPolyline(platform::Canvas* onto, platform::Rgb color,
                           std::initializer_list<QPoint> points) {
    std::optional<platform::ImageCanvas> own;
    if (!onto) {
        if (Surface.isNull())
            return;
        onto = &own.emplace(Surface, font());
    }
    onto->SetPen({color, platform::PenStyle::Solid, platform::PenMode::Xor});
    QRect bounds(*points.begin(), *points.begin());
    onto->MoveTo(points.begin()->x(), points.begin()->y());
    for (const QPoint& p : points) {
        bounds |= QRect(p, p);
        if (&p != points.begin())
            onto->LineTo(p.x(), p.y());
    }
    if (own)
        showSurface(bounds);
}

void TWFMform::drawOverlays(platform::Canvas& canvas) {
    if (MouseHeld)
        xorBand(&canvas);
    if (DrawMode && RubberLineShown)
        xorRubberLine(&canvas);
}

void TWFMform::strokeDown(Qt::KeyboardModifiers modifiers, int x, int y) {
    // Bit patterns are edited bit by bit, never drawn.
    if (Doc.FileType == WaveFileType::BitPattern || Doc.PointCount() < 1)
        return;
    ComputeLayout();
    if (!workspace::inDrawPlot(x, y, Layout()))
        return;
    const workspace::DrawMapping m = drawMapping();
    const auto codes = Doc.SampleStream->codes();
    PixelPoint p{x, y};
    if (RubberLineShown) {
        RubberLineShown = 0;
        if (modifiers & Qt::ShiftModifier) {
            const PixelPoint snapped =
                workspace::snapToAxis({StrokePoints[0], StrokePoints[1]}, p, workspace::kClickVerticalRatio);
            if (snapped != p) {
                const QPoint pointer = QCursor::pos();
                platform::setPointerPos(pointer.x() + snapped.x - p.x, pointer.y() + snapped.y - p.y);
            }
            p = snapped;
        }
        const Stroke line{StrokeSpan[0], StrokeSpan[1], StrokeSpan[2], StrokeSpan[3]};
        workspace::writeStroke(workspace::widenSingleSample(line, codes), codes, m.midCode);
        StrokeDrawn = 1;
        repaintWithOverview();
    }
    StrokePoints = {p.x, p.y, p.x, p.y};
    Dragging = 1;
    const int32_t index = workspace::drawIndex(p.x, m), code = workspace::drawCode(p.y, m);
    StrokeSpan = {index, index, code, code, index};
    // A click without a move draws the one sample under the pen.
    if (workspace::writeStroke({index, index, code, code}, codes, m.midCode)) {
        StrokeDrawn = 1;
        update();
    }
    platform::setScreenCursor(ScreenCursor::DrawPen);
}

void TWFMform::strokeMove(Qt::KeyboardModifiers modifiers, int x, int y) {
    if (Doc.FileType == WaveFileType::BitPattern || Doc.PointCount() < 1)
        return;
    if (!workspace::inDrawPlot(x, y, Layout())) {
        platform::setScreenCursor(ScreenCursor::Default);
        if (Dragging) {
            Dragging = 0;
            repaintWithOverview();
        }
        return;
    }
    const workspace::DrawMapping m = drawMapping();
    Coordinates->move(MarginLeft + PlotWidth / 2 - 65, Coordinates->y());
    showCoordinates(platform::toQString(workspace::coordinatesText(x, y, m)));
    if (!Dragging && RubberLineShown) {
        platform::setScreenCursor(ScreenCursor::DrawPen);
        xorRubberLine();
        PixelPoint p{x, y};
        if (modifiers & Qt::ShiftModifier)
            p = workspace::snapToAxis({StrokePoints[0], StrokePoints[1]}, p,
                                      workspace::kPointerVerticalRatio);
        StrokePoints[2] = p.x;
        StrokePoints[3] = p.y;
        xorRubberLine();
        StrokeSpan[1] = workspace::drawIndex(p.x, m);
        StrokeSpan[3] = workspace::drawCode(p.y, m);
        return;
    }
    if (!Dragging)
        return;
    platform::setScreenCursor(ScreenCursor::DrawPen);
    StrokePoints[2] = x;
    StrokePoints[3] = y;
    const Stroke s{StrokeSpan[0], workspace::drawIndex(x, m), StrokeSpan[2], workspace::drawCode(y, m)};
    const bool reversed = s.endIndex < s.startIndex;
    if (const auto written = workspace::writeStroke(s, Doc.SampleStream->codes(), m.midCode)) {
        // The next move continues from the pointer's end.
        const int32_t index = reversed ? written->startIndex : written->endIndex;
        const int32_t code = reversed ? written->startCode : written->endCode;
        StrokeSpan = {index, index, code, code, index};
    }
    // Only the columns around the stroke change.
    const int32_t lastX = StrokePoints[0];
    const int64_t span = m.view ? int64_t(m.view->last) - m.view->first : int64_t(m.pointCount);
    const int p = span > 0 ? int(PlotWidth / span) : 0;
    const int from = x >= lastX ? lastX - p - 2 : x - 2 * p - 1;
    const int to = x >= lastX ? x + p + 1 : lastX + p + 1;
    update(QRect(from, MarginTop, to - from + 1, PlotHeight + 1));
    StrokePoints[0] = x;
    StrokePoints[1] = y;
    StrokeDrawn = 1;
}

void TWFMform::strokeUp(int x, int y) {
    if (Doc.FileType == WaveFileType::BitPattern || !workspace::inDrawPlot(x, y, Layout())) {
        // A stroke released outside the plot ends there; it left no line to follow.
        Dragging = 0;
        return;
    }
    if (!RubberLineShown) {
        if (Dragging) {
            Dragging = 0;
            repaintWithOverview();
        }
        RubberLineShown = 1;
    }
    Dragging = 0;
}
