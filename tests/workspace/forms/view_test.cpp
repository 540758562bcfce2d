#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "synthesis/forms/select.h"
#include "workspace/core/sample_stream.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

#include <cmath>
#include <functional>
#include <memory>
#include <set>

using plotwell::workspace::SampleStream;
using plotwell::workspace::WaveFileType;

namespace {

class ViewTest : public AppTest {
protected:
    // A window holding n points of reference r, code(i) each, fully selected.
    TWFMform* window(int n, uint16_t r, const std::function<uint16_t(int)>& code,
                     const char* name = "/tmp/w/wave.wfm") {
        return newWindow(n, r, code, name);
    }
    static void setClientSize(TWFMform* w, int width, int height) {
        QMdiSubWindow* sw = w->subWindow();
        sw->resize(sw->size() - w->size() + QSize(width, height));
        processEvents();
    }
    static void mouse(QWidget* target, QEvent::Type type, int x, Qt::MouseButton button = Qt::LeftButton) {
        const QPointF local(x, 5);
        // A move reports no button of its own but the left one held.
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                      : type == QEvent::MouseMove        ? Qt::MouseButtons(Qt::LeftButton)
                                                                         : Qt::MouseButtons(button);
        QMouseEvent e(type, local, target->mapToGlobal(local), button, held, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    // Drags a cursor image from its grab point by dx pixels, one pixel step at a time.
    static void drag(QWidget* image, int dx) {
        mouse(image, QEvent::MouseButtonPress, 6);
        const int step = dx < 0 ? -1 : 1;
        for (int d = step; d != dx + step; d += step)
            mouse(image, QEvent::MouseMove, 6 + d, Qt::NoButton);
        mouse(image, QEvent::MouseButtonRelease, 6 + dx);
    }
    // Columns of the plot whose pixel in row y differs from `base`.
    static std::set<int> changedColumns(const TWFMform* w, const QImage& base, int y) {
        std::set<int> xs;
        for (int x = 0; x < w->Surface.width(); ++x)
            if (w->Surface.pixel(x, y) != base.pixel(x, y))
                xs.insert(x);
        return xs;
    }
    static std::set<int> range(int a, int b) {
        std::set<int> s;
        for (int x = a; x <= b; ++x)
            s.insert(x);
        return s;
    }
    static std::set<int> unite(std::set<int> a, const std::set<int>& b) {
        a.insert(b.begin(), b.end());
        return a;
    }
};

uint16_t flat100(int) {
    return 2148;
} // value +100 at R = 2048

void keyUp(QLineEdit* e, const QString& text, int key) {
    e->setText(text);
    QKeyEvent k(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(e, &k);
}

void leave(QWidget* e) {
    QFocusEvent f(QEvent::FocusOut);
    QApplication::sendEvent(e, &f);
}

} // namespace

TEST_F(ViewTest, PaintComputesTheLayoutAndShadesTheUnselectedColumns) {
    TWFMform* w = window(1000, 2048, flat100);
    w->FormPaint();
    EXPECT_EQ(w->MarginLeft, 40);
    EXPECT_EQ(w->PlotWidth, 210);
    EXPECT_EQ(w->PlotHeight, 176);
    EXPECT_EQ(w->AxisMax, 2047);
    EXPECT_EQ(w->AxisMin, -2048);
    EXPECT_EQ(w->Reference, 2048);
    EXPECT_TRUE(w->ZoomAreaEnabled);
    EXPECT_TRUE(PWForm1->WaveMenus->Zoomarea1->isEnabled());
    const QImage unshaded = w->Surface.copy();
    EXPECT_EQ(unshaded.pixel(45, 30) & 0xFFFFFF, 0u);

    w->Doc.SelectionStart = 100;
    w->Doc.SelectionEnd = 899;
    w->FormPaint();
    EXPECT_EQ(changedColumns(w, unshaded, 30), unite(range(41, 61), range(228, 249)));
    EXPECT_EQ(w->Surface.pixel(45, 30) & 0xFFFFFF, 0xFF0000u); // red over the black background
    EXPECT_EQ(w->Surface.pixel(45, 191) & 0xFFFFFF, unshaded.pixel(45, 191) & 0xFFFFFF); // end row left out
    EXPECT_TRUE(w->dimStartCursorImage->isVisible());
    EXPECT_EQ(w->dimStartCursorImage->geometry(), QRect(61 - 12, 1, 12, 12));
    EXPECT_EQ(w->dimEndCursorImage->geometry(), QRect(228, 1, 12, 12));
}

TEST_F(ViewTest, ASmallWindowHasNarrowMarginsNoLabelsAndNoCursorImages) {
    TWFMform* w = window(1000, 2048, flat100);
    setClientSize(w, 90, 200);
    ASSERT_EQ(w->width(), 90);
    w->FormPaint();
    const QImage unshaded = w->Surface.copy();
    w->Doc.SelectionStart = 100;
    w->Doc.SelectionEnd = 899;
    w->FormPaint();
    w->FormPaint(); // a repaint without a resize shades the same columns again
    EXPECT_EQ(w->MarginLeft, 5);
    EXPECT_EQ(w->MarginTop, 5);
    EXPECT_EQ(w->PlotWidth, 80);
    EXPECT_FALSE(w->AxisLabelsShown);
    EXPECT_FALSE(w->dimStartCursorImage->isVisible());
    EXPECT_FALSE(w->dimEndCursorImage->isVisible());
    const int xs = 5 + 80 * 100 / 999, xe = 5 + 80 * 899 / 999;
    EXPECT_EQ(changedColumns(w, unshaded, 20), unite(range(6, xs), range(xe, 84)));
}

TEST_F(ViewTest, DraggingTheCursorsClampsShadesAndPublishes) {
    TWFMform* w = window(1000, 2048, flat100);
    w->FormPaint();
    const QImage unshaded = w->Surface.copy();

    // The start cursor stops at the end cursor.
    drag(w->dimStartCursorImage, 400);
    EXPECT_EQ(w->Dragging, 0);
    EXPECT_EQ(w->dimStartCursorImage->x(), w->dimEndCursorImage->x() - 12);
    EXPECT_EQ(w->Doc.SelectionStart, 999); // the start image's right edge marks the start
    EXPECT_FALSE(w->StartCursorImage->isVisible());
    EXPECT_EQ(statusPanel()[1], "   Start 999:");

    // Back to the left edge and the end cursor past the right edge.
    drag(w->dimStartCursorImage, -400);
    EXPECT_EQ(w->Doc.SelectionStart, 0);
    EXPECT_EQ(w->dimStartCursorImage->x(), 28);
    drag(w->dimEndCursorImage, -60);
    EXPECT_EQ(w->Doc.SelectionEnd, (190 - 40) * 999 / 210);
    drag(w->dimEndCursorImage, 500);
    EXPECT_EQ(w->Doc.SelectionEnd, 999);
    EXPECT_EQ(w->dimEndCursorImage->x(), 250);

    // Ends at 30 and -45 px: the incremental shading equals a fresh paint.
    drag(w->dimStartCursorImage, 30);
    drag(w->dimEndCursorImage, -45);
    EXPECT_EQ(w->Doc.SelectionStart, 30 * 999 / 210);
    EXPECT_EQ(w->Doc.SelectionEnd, 165 * 999 / 210);
    const int xs = 40 + 210 * w->Doc.SelectionStart / 999, xe = 40 + 210 * w->Doc.SelectionEnd / 999;
    EXPECT_EQ(changedColumns(w, unshaded, 30), unite(range(41, xs), range(xe, 249)));
    const QImage incremental = w->Surface.copy();
    w->FormPaint();
    EXPECT_EQ(w->Surface, incremental);
    EXPECT_EQ(statusPanel(), (std::vector<std::string>{"   Status wave.wfm:", "   Start 142:", "Value  +100:",
                                                       "   End 784:", "Value  +100:", "   Length 643:"}));
}

TEST_F(ViewTest, NothingIsPaintedWhileACursorIsDragged) {
    TWFMform* w = window(1000, 2048, flat100);
    w->FormPaint();
    mouse(w->dimStartCursorImage, QEvent::MouseButtonPress, 6);
    EXPECT_TRUE(w->StartCursorImage->isVisible());
    mouse(w->dimStartCursorImage, QEvent::MouseMove, 26, Qt::NoButton);
    const QImage during = w->Surface.copy();
    w->Doc.SampleStream->setCode(0, 0);
    w->FormPaint();
    w->repaint();
    EXPECT_EQ(w->Surface, during);
    mouse(w->dimStartCursorImage, QEvent::MouseButtonRelease, 26);
    EXPECT_EQ(w->dimStartCursorImage->x(), 48);
}

TEST_F(ViewTest, StatusTexts) {
    struct Row {
        uint16_t r;
        bool unsignedDisplay;
        uint16_t startCode, endCode;
        const char* startText;
        const char* endText;
    };
    const Row rows[] = {
        {2048, false, 2148, 1948, "Value  +100:", "Value  -100:"},
        {1, false, 49152, 16384, "Value +0.50000:", "Value -0.50000:"},
        {2048, true, 0, 2048, "Value    +0:", "Value +2048:"},
        {128, false, 128, 255, "Value    +0:", "Value  +127:"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.startText);
        TWFMform* w = window(10, row.r, [&](int i) { return i < 5 ? row.startCode : row.endCode; });
        w->Doc.UnsignedDisplay = row.unsignedDisplay;
        w->Doc.SelectionStart = 2;
        w->Doc.SelectionEnd = 7;
        w->PublishStatus();
        EXPECT_EQ(statusPanel(),
                  (std::vector<std::string>{"   Status wave.wfm:", "   Start 2:", row.startText,
                                            "   End 7:", row.endText, "   Length 6:"}));
    }
}

TEST_F(ViewTest, OnePointSelectionAndSelectionPastTheEndArePublishedClamped) {
    TWFMform* w = window(1000, 2048, [](int i) { return uint16_t(2048 + i); });
    w->Doc.SelectionStart = 500;
    w->Doc.SelectionEnd = 500;
    w->PublishStatus();
    EXPECT_EQ(statusPanel()[2], statusPanel()[4]);
    EXPECT_EQ(statusPanel()[5], "   Length 1:");
    // Left past the end by whatever shortened the samples: never read beyond the last point.
    w->Doc.SelectionStart = 1200;
    w->Doc.SelectionEnd = 5000;
    w->PublishStatus();
    EXPECT_EQ(w->Doc.SelectionEnd, 999);
    EXPECT_EQ(w->Doc.SelectionStart, 999);
    EXPECT_EQ(statusPanel()[3], "   End 999:");
    EXPECT_EQ(statusPanel()[4], "Value  +999:");
    w->SuppressStatus = 1;
    w->Doc.SelectionEnd = 3;
    w->PublishStatus();
    EXPECT_EQ(statusPanel()[3], "   End 999:");
}

TEST_F(ViewTest, StatusLabelsKeepTheirPlacesUnlessTheTextBeforeIsTooWide) {
    TWFMform* w = window(1048576, 2048, flat100);
    w->Doc.SelectionStart = 1000000;
    w->PublishStatus();
    const int places[] = {1, 120, 195, 275, 350, 430};
    QLabel* labels[] = {PWForm1->WaveInfo1, PWForm1->WaveInfo2, PWForm1->WaveInfo3,
                        PWForm1->WaveInfo4, PWForm1->WaveInfo5, PWForm1->WaveInfo6};
    EXPECT_EQ(labels[0]->pos(), QPoint(1, 4));
    for (int i = 1; i < 6; ++i) {
        EXPECT_GE(labels[i]->x(), places[i]);
        EXPECT_EQ(labels[i]->y(), 4);
        EXPECT_GE(labels[i]->x(), labels[i - 1]->geometry().right());
        if (labels[i - 1]->geometry().right() + 2 < places[i]) {
            EXPECT_EQ(labels[i]->x(), places[i]);
        }
    }
}

TEST_F(ViewTest, BitPatternAndEmptyWindowStatus) {
    TWFMform* w = window(16, 32768, [](int i) { return uint16_t(i < 8 ? 0xFFFF : 0); });
    w->Doc.IsBitPattern = 1;
    w->Doc.FileType = WaveFileType::BitPattern;
    w->Doc.SelectionStart = 3;
    w->Doc.SelectionEnd = 12;
    w->PublishStatus();
    EXPECT_EQ(statusPanel()[2], "High");
    EXPECT_EQ(statusPanel()[4], "Low");
    // A zoomed pattern maps the cursors onto its view, as its trace does.
    w->Zoomed = 1;
    w->ViewFirst = 2;
    w->ViewLast = 13;
    w->FormPaint();
    EXPECT_EQ(w->dimStartCursorImage->x(), 40 + (3 - 2) * 210 / 11 - 12);
    EXPECT_EQ(w->dimEndCursorImage->x(), 40 + (12 - 2) * 210 / 11);

    TWFMform* empty = newWindow();
    empty->FormActivate();
    EXPECT_EQ(statusPanel(), (std::vector<std::string>{"   Status Untitled:", "   Start 0:", "Value    +0:",
                                                       "   End 0:", "Value    +0:", "   Length 0:"}));
}

TEST_F(ViewTest, ActivatingAWindowPublishesItsStatus) {
    TWFMform* a = window(100, 2048, flat100, "/tmp/a.wfm");
    TWFMform* b = newWindow();
    EXPECT_EQ(statusPanel()[0], "   Status Untitled:");
    PWForm1->ActivateWaveWindow(a);
    processEvents();
    EXPECT_EQ(statusPanel()[0], "   Status a.wfm:");
    EXPECT_EQ(statusPanel()[5], "   Length 100:");
    (void)b;
}

TEST_F(ViewTest, SelectAllFromTheEditMenu) {
    TWFMform* w = window(1000, 2048, flat100);
    w->FormPaint();
    const QImage unshaded = w->Surface.copy();
    w->Doc.SelectionStart = 100;
    w->Doc.SelectionEnd = 899;
    w->FormPaint();
    PWForm1->WaveMenus->Selectall1->trigger();
    EXPECT_EQ(w->Doc.SelectionStart, 0);
    EXPECT_EQ(w->Doc.SelectionEnd, 999);
    EXPECT_FALSE(w->dimStartCursorImage->isVisible());
    EXPECT_FALSE(w->dimEndCursorImage->isVisible());
    EXPECT_EQ(w->dimStartCursorImage->x(), 28);
    EXPECT_EQ(w->dimEndCursorImage->x(), 250);
    EXPECT_TRUE(changedColumns(w, unshaded, 30).empty());
    EXPECT_EQ(statusPanel()[5], "   Length 1000:");
    EXPECT_EQ(PWForm1->WaveMenus->Selectall1->shortcut(), QKeySequence("Ctrl+A"));
}

TEST_F(ViewTest, FewerThanTwoPointsOfferNoSelection) {
    TWFMform* w = window(1, 2048, flat100);
    w->Doc.SelectionEnd = 0;
    w->FormPaint(); // the grid only
    EXPECT_FALSE(w->dimStartCursorImage->isVisible());
    EXPECT_EQ(w->Surface.pixel(5, 12) & 0xFFFFFF, 0u); // no label
    w->Selectall1Click();
    w->Selectlimits1Click();
    EXPECT_EQ(ui.count("exec"), 0);
    w->dimStartCursorImageMouseDown(Qt::LeftButton, 3);
    w->dimStartCursorImageMouseMove(40);
    EXPECT_EQ(w->Dragging, 0);
    w->PublishStatus();
    EXPECT_EQ(statusPanel()[5], "   Length 1:");
}

TEST_F(ViewTest, AMillionPointsOnAPlotWiderThan2048Pixels) {
    const int n = 1048576;
    TWFMform* w =
        window(n, 32768, [](int i) { return uint16_t(32768 + 30000 * std::sin(i * 6.283185307 / 65536)); });
    setClientSize(w, 2155, 300);
    ASSERT_EQ(w->width(), 2155);
    w->FormPaint();
    ASSERT_EQ(w->PlotWidth, 2100);
    EXPECT_EQ(w->dimEndCursorImage->x(), 40 + 2100);
    EXPECT_EQ(w->dimStartCursorImage->x(), 40 - 12);
    const QImage unshaded = w->Surface.copy();
    drag(w->dimEndCursorImage, -1050);
    EXPECT_EQ(w->Doc.SelectionEnd, 524287);
    EXPECT_EQ(statusPanel()[3], "   End 524287:");
    drag(w->dimStartCursorImage, 700);
    EXPECT_EQ(w->Doc.SelectionStart, int(int64_t(700) * (n - 1) / 2100));
    const int xs = int(40 + int64_t(2100) * w->Doc.SelectionStart / (n - 1));
    const int xe = int(40 + int64_t(2100) * w->Doc.SelectionEnd / (n - 1));
    EXPECT_EQ(xs, 740);
    EXPECT_EQ(xe, 1089);
    EXPECT_EQ(changedColumns(w, unshaded, 40), unite(range(41, xs), range(xe, 40 + 2099)));
    const QImage incremental = w->Surface.copy();
    w->FormPaint();
    EXPECT_EQ(w->Surface, incremental);
}

TEST_F(ViewTest, ZoomAreaFollowsTheDataAndAStaleViewPaintsEverything) {
    TWFMform* w = window(99, 2048, flat100);
    w->FormPaint();
    EXPECT_FALSE(w->ZoomAreaEnabled);
    EXPECT_FALSE(PWForm1->WaveMenus->Zoomarea1->isEnabled());
    TWFMform* v = window(1000, 2, [](int) { return uint16_t(2); });
    v->FormPaint();
    EXPECT_FALSE(v->ZoomAreaEnabled);
    TWFMform* z = window(1000, 2048, flat100);
    z->Zoomed = 1;
    z->ViewFirst = 500;
    z->ViewLast = 4000; // left over from a longer waveform
    z->ViewMin = -100;
    z->ViewMax = 200;
    z->Doc.SelectionStart = 100;
    z->FormPaint();
    EXPECT_TRUE(z->ZoomAreaEnabled);
    EXPECT_EQ(z->dimStartCursorImage->x(), 40 + 210 * 100 / 999 - 12);
}

TEST_F(ViewTest, FindSampleRangeOfTheActiveWindow) {
    TWFMform* w = window(10, 2048, [](int i) { return uint16_t(i == 3 ? 1948 : i == 6 ? 2348 : 2048); });
    PWForm1->ActivateWaveWindow(w);
    EXPECT_EQ(PWForm1->FindSampleRange(), 300);
    EXPECT_EQ(PWForm1->SampleMin, -100);
    EXPECT_EQ(PWForm1->SampleMax, 300);
    w->Doc.SampleStream->setCode(2, 1448);
    EXPECT_EQ(PWForm1->FindSampleRange(), 600);
    w->Doc.SelectionStart = 5;
    w->Doc.SelectionEnd = 4; // empty
    EXPECT_EQ(PWForm1->FindSampleRange(), 2048);
    w->Doc.SelectionStart = 0;
    w->Doc.SelectionEnd = 50; // past the end: only points that exist are read
    EXPECT_EQ(PWForm1->FindSampleRange(), 600);
}

// ---- the selection-limits dialog ---------------------------------------------------------

TEST_F(ViewTest, SelectLimitsApplyShowsTheDialogAgainThenOk) {
    TWFMform* w = window(1000, 2048, flat100);
    w->FormPaint();
    SelectDialog->LastAnswer = 0;
    ui.onDialog([](QDialog& d) {
        auto& s = static_cast<TSelectDialog&>(d);
        EXPECT_EQ(s.windowTitle(), "Select limits of wave.wfm");
        EXPECT_FALSE(s.bnApply->isEnabled());
        EXPECT_FALSE(s.bnOK->isEnabled());
        EXPECT_EQ(s.xEnd->text(), "999");
        keyUp(s.xStart, "50", Qt::Key_0);
        EXPECT_TRUE(s.bnApply->isEnabled());
        s.bnApply->click();
    });
    ui.onDialog([&](QDialog& d) {
        auto& s = static_cast<TSelectDialog&>(d);
        EXPECT_EQ(w->Doc.SelectionStart, 50); // applied before the dialog came back
        EXPECT_FALSE(s.bnCancel->isEnabled());
        EXPECT_TRUE(s.bnOK->isEnabled());
        EXPECT_FALSE(s.bnApply->isEnabled());
        EXPECT_EQ(s.xStart->text(), "50");
        keyUp(s.xEnd, "60", Qt::Key_0);
        s.bnOK->click();
    });
    PWForm1->WaveMenus->SelectLimits1->trigger();
    EXPECT_EQ(ui.count("exec"), 2);
    EXPECT_EQ(SelectDialog->LastAnswer, 2);
    EXPECT_EQ(w->Doc.SelectionStart, 50);
    EXPECT_EQ(w->Doc.SelectionEnd, 60);
    EXPECT_EQ(statusPanel()[5], "   Length 11:");
    EXPECT_EQ(SelectDialog->SavedSamples, nullptr);
    EXPECT_FALSE(w->dimStartCursorImage->isVisible());

    // After OK: Cancel enabled, OK disabled; Cancel leaves the selection as it was.
    ui.onDialog([](QDialog& d) {
        auto& s = static_cast<TSelectDialog&>(d);
        EXPECT_TRUE(s.bnCancel->isEnabled());
        EXPECT_FALSE(s.bnOK->isEnabled());
        keyUp(s.xStart, "10", Qt::Key_0);
        s.bnCancel->click();
    });
    w->Selectlimits1Click();
    EXPECT_EQ(SelectDialog->LastAnswer, 1);
    EXPECT_EQ(w->Doc.SelectionStart, 50);

    // The close box is Cancel too, never OK.
    ui.onDialog([](QDialog& d) {
        auto& s = static_cast<TSelectDialog&>(d);
        keyUp(s.xStart, "20", Qt::Key_0);
        s.close();
    });
    w->Selectlimits1Click();
    EXPECT_EQ(SelectDialog->LastAnswer, 1);
    EXPECT_EQ(w->Doc.SelectionStart, 50);
    EXPECT_EQ(ui.count("exec"), 4);
}

TEST_F(ViewTest, SelectLimitsStartsFromASelectionBroughtWithinTheData) {
    TWFMform* w = window(1000, 2048, [](int i) { return uint16_t(2048 + i % 200); });
    w->FormPaint();
    w->Doc.SelectionStart = 1200; // left past the end by a change that shortened the samples
    w->Doc.SelectionEnd = 5000;
    ui.onDialog([](QDialog& d) {
        auto& s = static_cast<TSelectDialog&>(d);
        EXPECT_EQ(s.xStart->text(), "999");
        EXPECT_EQ(s.xEnd->text(), "999");
        EXPECT_EQ(s.yEndData->text(), " +199");
        EXPECT_EQ(s.Length->text(), "0000001");
        s.close();
    });
    w->Selectlimits1Click();
    EXPECT_EQ(ui.count("exec"), 1);
}

TEST_F(ViewTest, RightButtonOpensSelectLimitsExceptOnBitPatterns) {
    TWFMform* w = window(100, 2048, flat100);
    mouse(w, QEvent::MouseButtonPress, 100, Qt::RightButton);
    EXPECT_EQ(ui.count("exec"), 1);
    EXPECT_EQ(SelectDialog->LastAnswer, 1); // unscripted: closed, so Cancel
    w->Doc.FileType = WaveFileType::BitPattern;
    mouse(w, QEvent::MouseButtonPress, 100, Qt::RightButton);
    EXPECT_EQ(ui.count("exec"), 1);
}

TEST_F(ViewTest, SelectLimitsIsNotOfferedOnAnEmptyWindowOrDuringABand) {
    TWFMform* w = newWindow();
    w->Selectlimits1Click();
    TWFMform* v = window(100, 2048, flat100);
    v->MouseHeld = 1;
    v->Selectlimits1Click();
    EXPECT_EQ(ui.count("exec"), 0);
}

TEST_F(ViewTest, SelectDialogShowsValuesAndKeepsLimitsInRange) {
    SampleStream normalised(1, 20, 49152);
    normalised.setCode(3, 0);
    TSelectDialog& d = *SelectDialog;
    d.SavedSamples = &normalised;
    d.PointCount = 20;
    d.UnsignedDisplay = false;
    d.StartPoint = 0;
    d.EndPoint = 3;
    d.UpdateLimits();
    EXPECT_EQ(d.yStartData->text(), "+0.50000");
    EXPECT_EQ(d.yEndData->text(), "-1.00000");
    EXPECT_EQ(d.Length->text(), "0000004");

    SampleStream twelve(2048, 20, 0);
    d.SavedSamples = &twelve;
    d.UpdateLimits();
    EXPECT_EQ(d.yStartData->text(), "-2048");
    d.UnsignedDisplay = true;
    d.UpdateLimits();
    EXPECT_EQ(d.yStartData->text(), "   +0");
    d.UnsignedDisplay = false;

    ui.onDialog([](QDialog& dlg) {
        auto& s = static_cast<TSelectDialog&>(dlg);
        // A letter does not change the start on its key release.
        keyUp(s.xStart, "7", Qt::Key_7);
        keyUp(s.xStart, "7a", Qt::Key_A);
        EXPECT_EQ(s.StartPoint, 7);
        // A start typed beyond the end brings the end up when the edit is left.
        keyUp(s.xStart, "15", Qt::Key_5);
        leave(s.xStart);
        EXPECT_EQ(s.EndPoint, 15);
        EXPECT_EQ(s.xEnd->text(), "15");
        // An end typed below the start pulls the start down.
        keyUp(s.xEnd, "4", Qt::Key_4);
        leave(s.xEnd);
        EXPECT_EQ(s.StartPoint, 4);
        // Stepping the end below 0 keeps 0 and pulls the start along.
        s.UpDownEnd->findChild<QToolButton*>("Down")->click();
        for (int i = 0; i < 6; ++i)
            s.UpDownEnd->findChild<QToolButton*>("Down")->click();
        EXPECT_EQ(s.EndPoint, 0);
        EXPECT_EQ(s.StartPoint, 0);
        s.UpDownStart->findChild<QToolButton*>("Up")->click();
        EXPECT_EQ(s.StartPoint, 1);
        EXPECT_EQ(s.EndPoint, 1);
        // Typed numbers past the last point become the last point.
        keyUp(s.xEnd, "99999", Qt::Key_9);
        EXPECT_EQ(s.EndPoint, 19);
        EXPECT_EQ(s.Length->text(), "0000019");
        s.bnOK->click();
    });
    d.StartPoint = 0;
    d.EndPoint = 3;
    EXPECT_EQ(d.ShowModal(), 2);
    d.SavedSamples = nullptr;
}
