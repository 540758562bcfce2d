// What a new user meets first: the status panel after a file arrives, the type menus after
// a conversion, where windows land and how they cascade, and whether the axis and status
// labels fit where they stand.

#include "app_fixture.h"
#include "workspace/forms/op_test_dialog.h"

#include "app/Plotdesk.h"
#include "app/core/settings_files.h"
#include "app/wfmmenus.h"
#include "platform/qt_ui.h"
#include "workspace/core/plot_layout.h"
#include "workspace/core/sample_stream.h"
#include "workspace/forms/IntroForm.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>

#include <filesystem>
#include <set>

using plotwell::workspace::AxisLabel;
using plotwell::workspace::SampleStream;
using plotwell::workspace::WaveFileType;

namespace {

std::vector<std::string> panel() {
    std::vector<std::string> out;
    for (QLabel* l : {PWForm1->WaveInfo1, PWForm1->WaveInfo2, PWForm1->WaveInfo3, PWForm1->WaveInfo4,
                      PWForm1->WaveInfo5, PWForm1->WaveInfo6})
        out.push_back(l->text().toStdString());
    return out;
}

// The part of a label's text cell that holds characters: leading blanks only pad.
QRect inkCell(const QFontMetrics& fm, int x, int y, const QString& text) {
    const QString body = text.trimmed();
    const int lead = fm.horizontalAdvance(text.left(text.indexOf(body)));
    return QRect(x + lead, y, fm.horizontalAdvance(body), fm.height());
}

} // namespace

class FirstUseTest : public AppTest {
protected:
    // Waveform > Bit Pattern... over a window holding a waveform; the editor answers `answer`.
    void newBitPattern(int answer) {
        TWFMform* w = newWindow();
        giveData(w, 16, 100, 2048, "/data/sig.wfm");
        w->FormActivate();
        w->Doc.PatternRequest = 1;
        TTestOpDialog editor;
        answerSetUp(ui, "bits", "8");
        ui.onDialog([&](QDialog&) { editor.setModalResult(answer); });
        PWForm1->NewBitPatternWith(&editor);
    }
    // Another window with other values first, so that a stale panel shows.
    void somethingElseShown() {
        TWFMform* other = newWindow();
        giveData(other, 50, 7, 2048, "/data/other.wfm");
        other->PublishStatus();
    }
};

// ---- the status panel follows every road that brings a waveform into a window ----------

TEST_F(FirstUseTest, ThePanelShowsTheWindowThatAFileOrProjectJustFilled) {
    const std::string path = tempFile("wave.wfm");
    writeFile(path, wfmBytes(2048, {0, 100, 4095}));
    const std::vector<std::string> whole = {
        "   Status wave.wfm:", "   Start 0:", "Value -2048:", "   End 2:", "Value +2047:", "   Length 3:"};
    struct Road {
        const char* name;
        std::function<void()> run;
        std::vector<std::string> expected;
    };
    const std::vector<Road> roads = {
        {"File > Open",
         [&] {
             ui.chooseFile(path);
             PWForm1->Open1->trigger();
         },
         whole},
        {"Open As > Internal",
         [&] {
             ui.chooseFile(path);
             PWForm1->findChild<QAction*>("OpenInternal")->trigger();
         },
         whole},
        {"Open Project",
         [&] {
             const std::string folder = tempFile("proj");
             std::filesystem::create_directories(folder);
             writeFile(folder + "/Lab.prj", "");
             plotwell::app::ProjectValues v;
             v.GlobalFileType = 1;
             plotwell::transfer::applyTransferDefaults(v.TransferSettings);
             writeFile(folder + "/Lab.INI",
                       plotwell::app::formatProjectSettings({{path, 1, true, 1, 2, 0}}, v));
             ui.chooseFile(folder + "/Lab.prj");
             PWForm1->OpenProject1->trigger();
         },
         {"   Status wave.wfm:", "   Start 1:", "Value -1948:", "   End 2:", "Value +2047:", "   Length 2:"}},
        {"the reload after Save As",
         [&] {
             TWFMform* w = CurrentWaveWindow;
             giveData(w, 3, 5, 2048, "/data/sig.wfm");
             w->Doc.SaveState = 1;
             PWForm1->SaveType = WaveFileType::Internal;
             ui.chooseFile(tempFile("saved.wfm"));
             w->Save1Click();
         },
         {"   Status saved.wfm:", "   Start 0:", "Value    +5:", "   End 2:", "Value    +5:",
          "   Length 3:"}},
    };
    for (const auto& road : roads) {
        somethingElseShown();
        road.run();
        processEvents();
        EXPECT_EQ(panel(), road.expected) << road.name;
        EXPECT_EQ(ui.count("message"), 0) << road.name << ": " << ui.lastMessage();
    }
}

// ---- the type menus follow a conversion ---------------------------------------------------

TEST_F(FirstUseTest, TheTypeMenusFollowEveryRoadThatChangesTheKind) {
    const std::string wave = tempFile("wave.wfm");
    writeFile(wave, wfmBytes(2048, {0, 100, 4095}));
    TWaveMenus* m = PWForm1->WaveMenus;
    struct Road {
        const char* name;
        std::function<void()> run;
        bool bitPattern;
    };
    const std::vector<Road> roads = {
        {"Save As > Bit Pattern",
         [&] {
             TWFMform* w = newWindow();
             giveData(w, 16, 100, 2048, "/data/sig.wfm");
             w->FormActivate();
             w->Doc.SaveState = 1;
             ui.chooseFile(tempFile("bits.ptn"));
             m->SaveBitPattern->trigger();
         },
         true},
        {"Open As > Internal",
         [&] {
             ui.chooseFile(wave);
             PWForm1->findChild<QAction*>("OpenInternal")->trigger();
         },
         false},
        {"Open As > Bit Pattern",
         [&] {
             ui.chooseFile(tempFile("bits.ptn"));
             PWForm1->findChild<QAction*>("BitPatternptn1")->trigger();
         },
         true},
        {"a new bit pattern over a waveform, Cancel in the editor", [&] { newBitPattern(2); }, false},
        {"a new bit pattern over a waveform, OK in the editor", [&] { newBitPattern(1); }, true},
    };
    for (const auto& road : roads) {
        road.run();
        EXPECT_EQ(CurrentWaveWindow->Doc.FileType == WaveFileType::BitPattern, road.bitPattern) << road.name;
        EXPECT_EQ(m->EditBitPattern1->isEnabled(), road.bitPattern) << road.name;
        EXPECT_EQ(m->Verticaladjust1->isEnabled(), !road.bitPattern) << road.name;
        EXPECT_EQ(m->Smooth1->isEnabled(), !road.bitPattern) << road.name;
        EXPECT_EQ(ui.count("message"), 0) << road.name << ": " << ui.lastMessage();
    }
}

// ---- where windows land ---------------------------------------------------------------

TEST_F(FirstUseTest, NewWindowsCascadeInsideTheClientArea) {
    const QRect area = PWForm1->MdiArea->viewport()->rect();
    ASSERT_GT(area.width(), 500);
    QPoint last(-1, -1);
    for (int i = 0; i < 14; ++i) {
        TWFMform* w = newWindow();
        const QRect r = w->subWindow()->geometry();
        EXPECT_TRUE(area.contains(r))
            << "window " << i << " at " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
        EXPECT_NE(r.topLeft(), last) << "window " << i << " lies on the one before";
        last = r.topLeft();
    }
}

TEST_F(FirstUseTest, CascadeStaggersTheWindowsAndKeepsTheirSizes) {
    std::vector<TWFMform*> windows;
    for (int i = 0; i < 5; ++i) {
        windows.push_back(newWindow());
        giveData(windows.back(), 1000, 0, 2048, "/data/w" + std::to_string(i) + ".wfm");
    }
    windows[2]->subWindow()->resize(400, 300);
    std::vector<QSize> sizes;
    for (TWFMform* w : windows)
        sizes.push_back(w->subWindow()->size());
    PWForm1->Window1Click();
    PWForm1->Cascade1->trigger();
    processEvents();
    const QRect area = PWForm1->MdiArea->viewport()->rect();
    std::set<std::pair<int, int>> corners;
    for (size_t i = 0; i < windows.size(); ++i) {
        const QRect r = windows[i]->subWindow()->geometry();
        EXPECT_EQ(r.size(), sizes[i]) << "window " << i;
        EXPECT_TRUE(area.contains(r)) << "window " << i;
        EXPECT_GE(windows[i]->height(), 100) << "window " << i << " still shows its plot";
        corners.insert({r.x(), r.y()});
    }
    EXPECT_EQ(corners.size(), windows.size()) << "each window has a place of its own";
}

// ---- the axis labels fit where the layout puts them --------------------------------------

TEST_F(FirstUseTest, AxisLabelsFitBesideAndBelowThePlot) {
    TWFMform* w = newWindow();
    struct Row {
        int points;
        uint16_t reference;
        bool unsignedDisplay, zoomed;
    };
    const std::vector<Row> rows = {
        {1048576, 32768, false, false}, // "+32767", "-32768", "1048575"
        {4096, 2048, false, false},     // "+2047", "-2048"
        {1048576, 2048, true, false},   // "+4095", "+2048", "+0"
        {1048576, 1, false, true},      // "+1.000", "-1.000" and two indices
        {1048576, 32768, false, true},
    };
    for (const Row& row : rows) {
        giveData(w, row.points, 0, row.reference);
        w->Doc.UnsignedDisplay = row.unsignedDisplay;
        w->FormPaint();
        const plotwell::workspace::PlotLayout l = w->Layout();
        ASSERT_TRUE(l.AxisLabelsShown);
        const std::vector<AxisLabel> labels =
            row.zoomed
                ? plotwell::workspace::zoomedLabels(l, row.reference, false, 1000000, 1048575, -32768, 32767)
                : plotwell::workspace::unzoomedLabels(l, row.reference, row.unsignedDisplay, row.points);
        const QFontMetrics fm(w->AxisLabelFont());
        std::vector<QRect> cells;
        for (const AxisLabel& a : labels) {
            const QString text = QString::fromStdString(a.text);
            const QRect cell = inkCell(fm, a.x, a.y, text);
            const bool left = a.y < l.PlotHeight + 20;
            if (left)
                EXPECT_LE(cell.right(), l.MarginLeft - 1) << a.text << " runs into the plot";
            else
                EXPECT_GE(cell.top(), l.MarginTop + l.PlotHeight) << a.text;
            EXPECT_LE(cell.right(), w->width() - 1) << a.text << " is cut at the right edge";
            EXPECT_LE(cell.bottom(), w->height() - 1) << a.text << " is cut at the bottom";
            for (const QRect& other : cells)
                EXPECT_FALSE(cell.intersects(other)) << a.text;
            cells.push_back(cell);
        }
    }
}

// ---- the frame's labels: apart, whole, and inside the narrowest frame --------------------

TEST_F(FirstUseTest, StatusLabelsKeepAGapAndFitTheNarrowestFrame) {
    TWFMform* w = newWindow();
    giveData(w, 1048576, 0, 1, "/data/waves/long run.nrm");
    w->Doc.SelectionStart = 1048000;
    w->Doc.SampleStream->setCode(1048000, 32575);
    w->Doc.SampleStream->setCode(1048575, 32961);
    for (int width : {1024, 550}) {
        PWForm1->resize(width, PWForm1->height());
        processEvents();
        w->PublishStatus();
        ASSERT_EQ(PWForm1->width(), width);
        ASSERT_EQ(panel()[3], "   End 1048575:");
        ASSERT_EQ(panel()[4], "Value +0.00589:");
        for (QFrame* p : {PWForm1->Panel3, PWForm1->Panel1}) {
            std::vector<QLabel*> row;
            for (QLabel* l : p->findChildren<QLabel*>())
                if (!l->text().isEmpty())
                    row.push_back(l);
            std::sort(row.begin(), row.end(), [](QLabel* a, QLabel* b) { return a->x() < b->x(); });
            QLabel* before = nullptr;
            for (QLabel* l : row) {
                const QFontMetrics fm(l->font());
                const std::string name = l->objectName().toStdString() + " at " + std::to_string(width);
                EXPECT_GE(l->width(), fm.horizontalAdvance(l->text())) << name;
                EXPECT_GE(l->x(), 0) << name;
                EXPECT_LE(l->geometry().right(), p->contentsRect().right()) << name << " is cut";
                EXPECT_GE(fm.height(), 9) << name << " stays readable";
                if (before) {
                    EXPECT_GE(l->x() - before->geometry().right() - 1, fm.horizontalAdvance(' '))
                        << before->objectName().toStdString() << " runs into " << name;
                }
                before = l;
            }
        }
    }
}

// ---- boxes stand in front of the windows that stay on top ---------------------------------

TEST_F(FirstUseTest, ABoxAtStartUpStandsInFrontOfTheSplash) {
    IntroForm1->show();
    IntroForm1->raise();
    const auto box = plotwell::platform::QtUi::makeMessageBox(
        plotwell::platform::kAppTitle, "No GPIB library", plotwell::platform::Icon::Error,
        plotwell::platform::ButtonOk);
    EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
    box->show();
    processEvents();
    EXPECT_TRUE(box->isVisible());
    box->hide();
    IntroForm1->hide();
    // With nothing of ours on top, a box is an ordinary dialog.
    EXPECT_FALSE(plotwell::platform::QtUi::makeMessageBox(plotwell::platform::kAppTitle, "x",
                                                          plotwell::platform::Icon::Error,
                                                          plotwell::platform::ButtonOk)
                     ->windowFlags() &
                 Qt::WindowStaysOnTopHint);
}
