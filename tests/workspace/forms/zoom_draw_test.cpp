// The zoom band, the View items, the overview window and draw mode, driven with the mouse
// and keys as a user drives them.

#include "app_fixture.h"
#include "workspace/forms/op_test_dialog.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "workspace/core/sample_stream.h"
#include "workspace/forms/WorldView.h"
#include "workspace/forms/wfmchild.h"
#include "workspace/forms/wfmsetup.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <functional>
#include <memory>

using plotwell::platform::Answer;
using plotwell::workspace::SampleStream;
using plotwell::workspace::View;

QT_BEGIN_NAMESPACE
void PrintTo(const QPoint& p, std::ostream* os) {
    *os << "(" << p.x() << ", " << p.y() << ")";
}
QT_END_NAMESPACE

namespace plotwell::workspace {
void PrintTo(const View& v, std::ostream* os) {
    *os << v.first << ".." << v.last << " x " << v.min << ".." << v.max;
}
} // namespace plotwell::workspace

namespace {

class ZoomDrawTest : public AppTest {
protected:
    // A user draws in a frame that is on screen. A window manager frames, places and
    // activates a new frame in its own time. Before it has, the overview is placed from the
    // frame without its decorations, and the waits below take the display for one without a
    // window manager: the overview would be hidden and shown again while the window manager
    // still maps it, and openbox then drops the showing.
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowActive(PWForm1));
    }
    // A new window (client 274 x 211: plot 210 x 176 at (40, 15)) holding n points.
    TWFMform* window(int n, uint16_t r, const std::function<uint16_t(int)>& code) {
        TWFMform* w = newWindow();
        w->Doc.SampleStream = std::make_unique<SampleStream>(r, std::size_t(n));
        for (int i = 0; i < n; ++i)
            w->Doc.SampleStream->setCode(std::size_t(i), code(i));
        w->Doc.FileType = plotwell::workspace::WaveFileType::Internal;
        w->Doc.WaveName = "/tmp/w/wave.wfm";
        w->Doc.SelectionEnd = n - 1;
        w->FormPaint();
        processEvents();
        return w;
    }
    static View view(const TWFMform* w) { return {w->ViewFirst, w->ViewLast, w->ViewMin, w->ViewMax}; }
    // A key of the frame's menus: they answer only once the frame is the active window,
    // which a window manager makes it some time after it is asked to.
    static void key(int k) {
        PWForm1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(PWForm1));
        QTest::keyClick(PWForm1, Qt::Key(k));
        processEvents();
    }
    static TWaveMenus* menus() { return PWForm1->WaveMenus; }
    // The overview's outer rectangle as the window system reports it now.
    static QRect overviewFrame() {
        const QWindow* native = World->windowHandle();
        return native ? native->frameGeometry() : World->frameGeometry();
    }
    // Where the overview's outer corner belongs: 22 px below the frame's top, flush with its
    // right edge.
    static QPoint overviewPlace() {
        const QRect frame = PWForm1->frameGeometry();
        return {frame.right() + 1 - overviewFrame().width(), frame.top() + 22};
    }
    // A window manager frames and places a shown window in its own time: waits, with a
    // generous limit, until the overview's outer corner stands at `place`, framed where the
    // frame is and placed again by the program once framed.
    static bool overviewSettlesAt(const std::function<QPoint()>& place) {
        const bool managed = PWForm1->frameGeometry() != PWForm1->geometry();
        return QTest::qWaitFor(
            [&] {
                const QRect outer = overviewFrame();
                return (!managed || outer.size() != World->size()) && !World->WaitingForFrame() &&
                       outer.topLeft() == place();
            },
            kSettleMs);
    }
    // Moves the frame as a user drags it, and waits until the window manager has done so.
    static void moveFrame(QPoint by) {
        const QPoint to = PWForm1->pos() + by;
        PWForm1->move(to);
        ASSERT_TRUE(QTest::qWaitFor([&] { return PWForm1->pos() == to; }, kSettleMs));
    }
    static constexpr int kSettleMs = 5000;
    static uint16_t at(const TWFMform* w, int i) { return w->Doc.SampleStream->code(std::size_t(i)); }
};

uint16_t ramp(int i) {
    return uint16_t(i * 4);
}
uint16_t level(int) {
    return 2048;
}

} // namespace

TEST_F(ZoomDrawTest, BandZoomsAndShowsTheOverview) {
    TWFMform* w = window(1000, 2048, ramp);
    EXPECT_FALSE(menus()->Zoomout1->isEnabled());
    EXPECT_FALSE(menus()->Zoomfull1->isEnabled());
    drag(w, {61, 37}, {145, 103});
    EXPECT_TRUE(w->Zoomed);
    EXPECT_EQ(view(w), (View{99, 499, -1, 1535}));
    EXPECT_TRUE(menus()->Zoomout1->isEnabled());
    EXPECT_TRUE(menus()->Zoomfull1->isEnabled());
    ASSERT_TRUE(World->isVisible());
    EXPECT_EQ(World->windowTitle(), "Zoom wave.wfm");
    EXPECT_EQ(World->Shown, w);
    EXPECT_FALSE(w->MouseHeld);
    // A click without a band zooms nothing.
    drag(w, {100, 100}, {103, 100});
    EXPECT_EQ(view(w), (View{99, 499, -1, 1535}));
}

TEST_F(ZoomDrawTest, ABandNeedsZoomableData) {
    TWFMform* few = window(99, 2048, ramp);
    drag(few, {61, 37}, {145, 103});
    EXPECT_FALSE(few->Zoomed);
    EXPECT_FALSE(menus()->Zoomarea1->isEnabled());
    TWFMform* coarse = window(1000, 49, [](int) { return uint16_t(49); });
    drag(coarse, {61, 37}, {145, 103});
    EXPECT_FALSE(coarse->Zoomed);
    TWFMform* bits = window(1000, 2048, ramp);
    bits->Doc.FileType = plotwell::workspace::WaveFileType::BitPattern;
    drag(bits, {61, 37}, {145, 103});
    EXPECT_FALSE(bits->Zoomed) << "the mouse does nothing on a bit pattern";
    EXPECT_FALSE(World->isVisible());
}

TEST_F(ZoomDrawTest, ZoomOutRestoresThenDoublesAndZoomFullReturns) {
    TWFMform* w = window(1000, 2048, ramp);
    drag(w, {61, 37}, {145, 103});
    drag(w, {61, 37}, {145, 103});
    ASSERT_EQ(view(w), (View{139, 299, 767, 1343}));
    key(Qt::Key_F3);
    EXPECT_EQ(view(w), (View{99, 499, -1, 1535})) << "the view before the last band, exactly";
    key(Qt::Key_F3);
    EXPECT_EQ(view(w), (View{0, 800, -1025, 2047})) << "doubled about the centre, kept inside";
    key(Qt::Key_F3);
    EXPECT_FALSE(w->Zoomed) << "neither span can grow: the whole waveform";
    EXPECT_FALSE(World->isVisible());
    EXPECT_FALSE(menus()->Zoomout1->isEnabled());
    EXPECT_FALSE(menus()->Zoomfull1->isEnabled());

    drag(w, {61, 37}, {145, 103});
    ASSERT_TRUE(w->Zoomed);
    key(Qt::Key_F4);
    EXPECT_FALSE(w->Zoomed);
    EXPECT_EQ(w->ViewFirst, -1);
    EXPECT_FALSE(World->isVisible());
    EXPECT_FALSE(menus()->Zoomfull1->isEnabled());
}

TEST_F(ZoomDrawTest, OnlyABandThatZoomsPutsAMovedOverviewBack) {
    const auto band = [](TWFMform* w) { drag(w, {61, 37}, {145, 103}); };
    const auto click = [](TWFMform* w) { drag(w, {100, 100}, {103, 100}); };
    const auto zoomOut = [](TWFMform*) { key(Qt::Key_F3); };
    const struct {
        const char* what;
        std::function<void(TWFMform*)> act;
        bool placedAgain;
    } cases[] = {{"a second band", band, true}, {"a click", click, false}, {"Zoom out", zoomOut, false}};
    for (const auto& c : cases) {
        TWFMform* w = window(1000, 2048, ramp);
        drag(w, {61, 37}, {145, 103});
        ASSERT_TRUE(World->isVisible());
        ASSERT_TRUE(overviewSettlesAt(overviewPlace)) << c.what;
        const QPoint placed = overviewPlace();
        const QPoint moved = placed + QPoint(-150, 300);
        // As a user drags it by its title bar.
        const QMargins m = World->windowHandle()->frameMargins();
        World->windowHandle()->setPosition(moved + QPoint(m.left(), m.top()));
        ASSERT_TRUE(overviewSettlesAt([&] { return moved; })) << c.what;
        c.act(w);
        EXPECT_TRUE(World->isVisible()) << c.what;
        const QPoint expected = c.placedAgain ? placed : moved;
        EXPECT_TRUE(overviewSettlesAt([&] { return expected; })) << c.what;
        EXPECT_EQ(overviewFrame().topLeft(), expected) << c.what;
        key(Qt::Key_F4);
    }
}

TEST_F(ZoomDrawTest, TheOverviewFollowsAMovedFrame) {
    for (const bool shownBefore : {false, true}) {
        SCOPED_TRACE(shownBefore ? "shown before the move" : "first shown after the move");
        TWFMform* w = window(1000, 2048, ramp);
        if (shownBefore) {
            drag(w, {61, 37}, {145, 103});
            ASSERT_TRUE(overviewSettlesAt(overviewPlace));
            key(Qt::Key_F4);
            ASSERT_FALSE(World->isVisible());
        }
        // Every move counts, not only the first.
        for (const QPoint by : {QPoint(-100, 50), QPoint(60, -30)}) {
            moveFrame(by);
            drag(w, {61, 37}, {145, 103});
            ASSERT_TRUE(World->isVisible());
            EXPECT_TRUE(overviewSettlesAt(overviewPlace));
            EXPECT_EQ(overviewFrame().topLeft(), overviewPlace())
                << "flush right, below the frame's title bar";
            key(Qt::Key_F4);
        }
        w->Close1Click();
        processEvents();
    }
}

TEST_F(ZoomDrawTest, DraggingTheOverviewBoxPansTheView) {
    TWFMform* w = window(1000, 2048, ramp);
    drag(w, {61, 37}, {145, 103});
    ASSERT_TRUE(World->isVisible());
    // The box spans (22, 15)-(110, 54) on the overview's 220 x 104 plot.
    drag(World, {30, 20}, {0, 20});
    EXPECT_EQ(view(w), (View{0, 400, 0, 1535})) << "at the left edge: from point 0, same span";
    EXPECT_EQ(w->SavedView[2], -1);
    drag(World, {10, 20}, {300, 20});
    EXPECT_EQ(view(w), (View{599, 999, 0, 1535})) << "at the right edge: to the last point";
    // A press beside the box grabs nothing.
    drag(World, {20, 80}, {60, 80});
    EXPECT_EQ(view(w), (View{599, 999, 0, 1535}));
}

TEST_F(ZoomDrawTest, FreehandStrokeAndLineWriteTheCodesUnderThePen) {
    TWFMform* w = window(1000, 2048, level);
    menus()->Draw1->trigger();
    ASSERT_TRUE(w->DrawMode);
    EXPECT_TRUE(w->UndoDraw->isVisible());
    EXPECT_TRUE(w->FinishDraw->isVisible());
    // From index 99, code 2047 to index 499, code 3071.
    drag(w, {61, 103}, {145, 59});
    EXPECT_EQ(at(w, 98), 2048);
    EXPECT_EQ(at(w, 99), 2047);
    EXPECT_EQ(at(w, 299), 2559);
    EXPECT_EQ(at(w, 499), 3071);
    EXPECT_EQ(at(w, 500), 2048);
    EXPECT_TRUE(w->RubberLineShown) << "a release leaves a line to follow the pointer";
    EXPECT_EQ(w->Coordinates->text(), "X = 499  Y = 1023");

    // The line to index 999, code 2047 is written by the click.
    QTest::mouseMove(w, {250, 103});
    EXPECT_EQ(at(w, 749), 2048);
    QTest::mouseClick(w, Qt::LeftButton, {}, {250, 103});
    EXPECT_EQ(at(w, 749), 2559);
    EXPECT_EQ(at(w, 999), 2047);
    // The right button ends line mode.
    QTest::mousePress(w, Qt::RightButton, {}, {200, 100});
    EXPECT_FALSE(w->RubberLineShown);
}

TEST_F(ZoomDrawTest, AClickWritesTheOneSampleUnderThePen) {
    TWFMform* w = window(1000, 2048, level);
    menus()->Draw1->trigger();
    QTest::mouseClick(w, Qt::LeftButton, {}, {145, 59});
    EXPECT_EQ(at(w, 498), 2048);
    EXPECT_EQ(at(w, 499), 3071);
    EXPECT_EQ(at(w, 500), 2048);
    EXPECT_TRUE(w->RubberLineShown);
    // A single point takes the pen's code without a line to divide.
    TWFMform* one = window(1, 2048, level);
    menus()->Draw1->trigger();
    QTest::mouseClick(one, Qt::LeftButton, {}, {145, 59});
    EXPECT_EQ(at(one, 0), 3071);
}

TEST_F(ZoomDrawTest, UndoRestoresAndFinishKeeps) {
    TWFMform* w = window(1000, 2048, level);
    const std::string caption = w->Caption();
    menus()->Draw1->trigger();
    drag(w, {61, 103}, {145, 59});
    drag(w, {150, 30}, {200, 150});
    w->UndoDraw->click();
    EXPECT_TRUE(w->DrawMode) << "Undo does not end draw mode";
    for (int i : {99, 299, 499, 600, 900})
        EXPECT_EQ(at(w, i), 2048) << "sample " << i;
    w->FinishDraw->click();
    EXPECT_FALSE(w->DrawMode);
    EXPECT_EQ(w->Caption(), caption) << "nothing drawn since the Undo";
    EXPECT_EQ(w->Doc.SaveState, 0);

    menus()->Draw1->trigger();
    drag(w, {61, 103}, {145, 59});
    w->FinishDraw->click();
    EXPECT_EQ(at(w, 499), 3071);
    EXPECT_EQ(w->Caption(), caption + " (Modified)");
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_FALSE(w->UndoDraw->isVisible());
    EXPECT_FALSE(w->Coordinates->isVisible());
    EXPECT_EQ(w->UndoStream, nullptr);
}

TEST_F(ZoomDrawTest, AShorterWaveformKeepsTheViewWithinItsData) {
    TWFMform* w = window(1000, 2048, ramp);
    drag(w, {145, 37}, {250, 103});
    ASSERT_EQ(view(w), (View{499, 999, -1, 1535}));
    w->Doc.SampleStream->resize(600);
    w->LengthChanged();
    EXPECT_TRUE(w->Zoomed);
    EXPECT_EQ(view(w), (View{99, 599, -1, 1535}));
    drag(w, {100, 100}, {103, 100}); // saves the view for Zoom out
    w->Doc.SampleStream->resize(99);
    w->LengthChanged();
    EXPECT_FALSE(w->Zoomed) << "too few points to zoom: the whole waveform";
    EXPECT_FALSE(World->isVisible());
    w->Doc.SampleStream->resize(1000);
    w->LengthChanged();
    drag(w, {61, 37}, {145, 103});
    key(Qt::Key_F3);
    EXPECT_EQ(view(w), (View{0, 800, -1025, 2047})) << "no view from before the whole waveform to go back to";
}

TEST_F(ZoomDrawTest, ZoomOutAfterACutGoesBackToTheViewBeforeTheLastBand) {
    const View beforeLastBand{99, 499, -1, 1535}, lastBand{139, 299, 767, 1343};
    const struct {
        Answer answer;
        int32_t cutFrom, cutTo;
        View afterCut, afterZoomOut;
    } cases[] = {
        {Answer::Ok, 900, 949, lastBand, beforeLastBand},
        {Answer::Cancel, 900, 949, lastBand, beforeLastBand},
        // 200 points left: both views are pulled in to end at the last point.
        {Answer::Ok, 0, 799, {39, 199, 767, 1343}, {0, 199, -1, 1535}},
        {Answer::Cancel, 0, 799, lastBand, beforeLastBand},
        // 50 points left are too few to zoom; Cancel brings the zoom back with the points.
        {Answer::Cancel, 0, 949, lastBand, beforeLastBand},
    };
    for (const auto& c : cases) {
        const std::string what = std::to_string(c.cutFrom) + ".." + std::to_string(c.cutTo) +
                                 (c.answer == Answer::Ok ? " OK" : " Cancel");
        TWFMform* w = window(1000, 2048, ramp);
        drag(w, {61, 37}, {145, 103});
        drag(w, {61, 37}, {145, 103});
        ASSERT_EQ(view(w), lastBand);
        w->Doc.SelectionStart = c.cutFrom;
        w->Doc.SelectionEnd = c.cutTo;
        ui.answer(c.answer);
        menus()->Cut1->trigger();
        ASSERT_TRUE(w->Zoomed) << what;
        EXPECT_EQ(view(w), c.afterCut) << what;
        EXPECT_TRUE(World->isVisible()) << what;
        key(Qt::Key_F3);
        EXPECT_EQ(view(w), c.afterZoomOut) << what;
        key(Qt::Key_F4);
    }
}

TEST_F(ZoomDrawTest, DrawOnAnEmptyWindowAsksForTheWaveformFirst) {
    TWFMform* w = newWindow();
    answerSetUp(ui, "sig", "500", "4096", false);
    menus()->Draw1->trigger();
    EXPECT_FALSE(w->DrawMode) << "a cancelled set-up draws nothing";
    EXPECT_EQ(WaveSetup->result(), plotwell::platform::mrOk) << "so that the next Draw goes ahead";
    answerSetUp(ui, "sig", "500", "4096");
    menus()->Draw1->trigger();
    EXPECT_TRUE(w->DrawMode);
    EXPECT_EQ(w->Doc.PointCount(), 500);
    EXPECT_EQ(w->Doc.PatternRequest, 0);
    ASSERT_NE(w->UndoStream, nullptr);
    EXPECT_EQ(*w->UndoStream, *w->Doc.SampleStream);
}

TEST_F(ZoomDrawTest, TheOverviewFollowsTheActiveWindow) {
    TWFMform* zoomed = window(1000, 2048, ramp);
    drag(zoomed, {61, 37}, {145, 103});
    ASSERT_TRUE(World->isVisible());
    TWFMform* other = window(1000, 2048, level);
    PWForm1->MdiArea->setActiveSubWindow(other->subWindow());
    processEvents();
    EXPECT_FALSE(World->isVisible()) << "the new active window is not zoomed";
    PWForm1->MdiArea->setActiveSubWindow(zoomed->subWindow());
    processEvents();
    EXPECT_TRUE(World->isVisible());
    EXPECT_EQ(World->Shown, zoomed);
}

TEST_F(ZoomDrawTest, ShiftKeepsTheLineLevel) {
    TWFMform* w = window(1000, 2048, level);
    menus()->Draw1->trigger();
    drag(w, {61, 103}, {145, 59});
    // 15 degrees below the level of the last point (index 499, code 3071), Shift held;
    // QTest's moves carry no keys.
    const QPoint p(245, 86);
    QMouseEvent move(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::ShiftModifier);
    QApplication::sendEvent(w, &move);
    QTest::mouseClick(w, Qt::LeftButton, Qt::ShiftModifier, p);
    for (int i : {499, 700, 975})
        EXPECT_EQ(at(w, i), 3071) << "sample " << i;
    EXPECT_EQ(at(w, 976), 2048);
}

TEST_F(ZoomDrawTest, ZoomAreaLetsABandZoomInDrawMode) {
    TWFMform* w = window(1000, 2048, level);
    menus()->Draw1->trigger();
    menus()->Zoomarea1->trigger();
    drag(w, {61, 37}, {145, 103});
    EXPECT_TRUE(w->Zoomed);
    EXPECT_EQ(at(w, 99), 2048) << "the band drew nothing";
}

TEST_F(ZoomDrawTest, TheReadOutShowsLongCoordinatesWhole) {
    TWFMform* w = window(200000, 32768, [](int) { return uint16_t(32768); });
    menus()->Draw1->trigger();
    const QFont before = w->Coordinates->font();
    QTest::mouseMove(w, {249, 190});
    const QString text = w->Coordinates->text();
    ASSERT_EQ(text.toStdString(), "X = 199046  Y = -32396");
    const QFontMetrics fm(w->Coordinates->font());
    EXPECT_LE(fm.horizontalAdvance(text), w->Coordinates->contentsRect().width());
    EXPECT_LT(QFontInfo(w->Coordinates->font()).pixelSize(), QFontInfo(before).pixelSize());
}
