// The operation drivers, run with a small test dialog in place of each operation's own.

#include "app_fixture.h"
#include "workspace/forms/op_test_dialog.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "synthesis/forms/Pregress.h"
#include "workspace/forms/wfmchild.h"
#include "workspace/forms/wfmsetup.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>

using plotwell::workspace::WaveFileType;
using Driver = TPWForm1::Driver;

namespace {

enum class Empty { SetUp, Nothing, Paste, NoGuard };

struct Row {
    Driver driver;
    Empty empty;
    const char* caption; // with the file name "wave.wfm"; "" when none is set
    bool progress;
    bool range;
    std::vector<const char*> edits;
};

const std::vector<Row>& rows() {
    static const std::vector<Row> r = {
        {Driver::Expression,
         Empty::SetUp,
         "Expression for wave.wfm",
         true,
         true,
         {"Start", "End", "Amplitude", "Offset"}},
        {Driver::Sine,
         Empty::SetUp,
         "Sinewave for wave.wfm",
         true,
         true,
         {"Start", "End", "Amplitude", "Offset"}},
        {Driver::Triangle,
         Empty::SetUp,
         "Triangle wave for wave.wfm",
         true,
         true,
         {"Start", "End", "Amplitude", "Offset"}},
        {Driver::Square,
         Empty::SetUp,
         "Square wave for wave.wfm",
         true,
         true,
         {"Start", "End", "Amplitude", "Offset"}},
        {Driver::Pulse,
         Empty::SetUp,
         "Pulse wave for wave.wfm",
         true,
         true,
         {"Start", "End", "Low", "HighL", "Delay", "Rise", "HighT", "Fall"}},
        {Driver::Cardiac,
         Empty::SetUp,
         "Cardiac wave for wave.wfm",
         true,
         true,
         {"Start", "End", "Amplitude", "Offset", "PRint", "PRseg", "QRSdur", "VAT", "QTint", "STseg", "Pampl",
          "Qampl", "Rampl", "Sampl", "Tampl"}},
        {Driver::Sinc,
         Empty::SetUp,
         "Sinc wave for wave.wfm",
         true,
         true,
         {"Start", "End", "Amplitude", "Offset", "ZeroCross", "Phase"}},
        {Driver::Exponent,
         Empty::SetUp,
         "Exponent wave for wave.wfm",
         true,
         true,
         {"Start", "End", "Amplitude", "Offset", "Timeconst"}},
        {Driver::Gaussian,
         Empty::SetUp,
         "Gaussian wave for wave.wfm",
         true,
         true,
         {"Start", "End", "Amplitude", "Offset", "Timeconst"}},
        {Driver::Noise,
         Empty::SetUp,
         "Random noise for wave.wfm",
         true,
         true,
         {"Start", "End", "Amplitude", "Offset"}},
        {Driver::Harmonics, Empty::SetUp, "", false, true, {}},
        {Driver::ScalarOp, Empty::SetUp, "", false, true, {"Start", "End"}},
        {Driver::MathOp, Empty::SetUp, "", false, true, {"Start", "End"}},
        {Driver::Paste, Empty::Paste, "Paste to /data/waves/wave.wfm", false, true, {}},
        {Driver::Adjust, Empty::Nothing, "Adjust wave.wfm", false, false, {}},
        {Driver::Resize, Empty::Nothing, "Resize wave.wfm", false, false, {}},
        {Driver::Smooth, Empty::Nothing, "Smooth wave.wfm", false, true, {}},
        {Driver::EditBitPattern, Empty::NoGuard, "Bit Pattern for wave.wfm", false, false, {}},
    };
    return r;
}

std::vector<const char*> allEdits() {
    return {"Start", "End", "Amplitude", "Offset", "Low", "Timeconst", "Phase", "Tampl"};
}

bool keepsChanged(Driver d) {
    return d == Driver::Expression || d == Driver::Adjust;
}

class DriverTest : public AppTest {
protected:
    TWFMform* windowWithData(int points = 100) {
        TWFMform* w = newWindow();
        giveData(w, points);
        w->Doc.SelectionStart = 10;
        w->Doc.SelectionEnd = 19;
        return w;
    }
    static uint16_t codeAt(TWFMform* w, int i) { return w->Doc.SampleStream->code(size_t(i)); }
};

} // namespace

TEST_F(DriverTest, EveryRowPreparesTheDialogAsItsTableRowSays) {
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.caption);
        TWFMform* w = windowWithData();
        TTestOpDialog d(allEdits());
        d.setWindowTitle("old");
        d.StartPoint = d.EndPoint = d.MidCode = -7;
        d.GeneratedExpr = "amp*sin(omg*t)";
        ExpPregress->setWindowTitle("old progress");
        bool checked = false;
        ui.onDialog([&](QDialog&) {
            EXPECT_EQ(d.windowTitle().toStdString(), *row.caption ? row.caption : "old");
            EXPECT_EQ(ExpPregress->windowTitle().toStdString(),
                      row.progress ? "Evaluating expression for wave.wfm" : "old progress");
            EXPECT_EQ(d.SavedSamples, *w->Doc.SampleStream);
            EXPECT_EQ(d.Target, w);
            if (row.range) {
                EXPECT_EQ(d.StartPoint, 10);
                EXPECT_EQ(d.EndPoint, 19);
            } else {
                EXPECT_EQ(d.StartPoint, -7);
            }
            // Only the rows with the whole range fill the mid code (smoothing reads R itself).
            const bool full = row.range && row.driver != Driver::Smooth;
            EXPECT_EQ(d.MidCode, full ? 2048 : -7);
            for (const char* name : allEdits()) {
                const bool listed = std::find_if(row.edits.begin(), row.edits.end(), [&](const char* e) {
                                        return std::string(e) == name;
                                    }) != row.edits.end();
                EXPECT_EQ(d.edit(name)->isModified(), !listed) << name;
            }
            const bool generator = row.driver >= Driver::Sine && row.driver <= Driver::Harmonics;
            EXPECT_EQ(d.GeneratedExpr.empty(), generator);
            checked = true;
            d.setModalResult(1);
        });
        PWForm1->RunDriver(row.driver, &d);
        EXPECT_TRUE(checked);
        EXPECT_TRUE(d.SavedSamples.empty()) << "the snapshot is freed after the show";
        w->Doc.SaveState = 0;
        w->Close1Click();
        processEvents();
    }
}

TEST_F(DriverTest, OkWithChangedMarksTheWindowOnceAndKeepsTheSamples) {
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.caption);
        TWFMform* w = windowWithData();
        TTestOpDialog d;
        for (int pass = 0; pass < 2; ++pass) {
            ui.onDialog([&](QDialog&) {
                d.preview(3000);
                d.setModalResult(1);
            });
            PWForm1->RunDriver(row.driver, &d);
            EXPECT_EQ(w->Caption(), "/data/waves/wave.wfm (Modified)") << "pass " << pass;
            EXPECT_EQ(w->Doc.SaveState, 1);
            EXPECT_EQ(d.Changed, keepsChanged(row.driver) ? 1 : 0);
        }
        EXPECT_EQ(codeAt(w, 10), 3000);
        EXPECT_EQ(codeAt(w, 9), 2048);
        w->Doc.SaveState = 0;
        w->Close1Click();
        processEvents();
    }
}

TEST_F(DriverTest, OkWithoutChangedMarksNothing) {
    for (const Row& row : rows()) {
        if (row.driver == Driver::EditBitPattern)
            continue; // the editor's driver always leaves the window unsaved
        SCOPED_TRACE(row.caption);
        TWFMform* w = windowWithData();
        TTestOpDialog d;
        ui.onDialog([&](QDialog&) {
            d.Changed = 0;
            d.setModalResult(1);
        });
        PWForm1->RunDriver(row.driver, &d);
        EXPECT_EQ(w->Caption(), "/data/waves/wave.wfm");
        EXPECT_EQ(w->Doc.SaveState, 0);
        w->Close1Click();
        processEvents();
    }
}

TEST_F(DriverTest, ExpressionOkWithoutAGenerationPutsTheSnapshotBack) {
    TWFMform* w = windowWithData();
    TTestOpDialog d;
    ui.onDialog([&](QDialog&) {
        d.preview(100);
        d.Changed = 0;
        d.setModalResult(1);
    });
    PWForm1->RunDriver(Driver::Expression, &d);
    EXPECT_EQ(codeAt(w, 10), 2048);
    EXPECT_EQ(w->Doc.SaveState, 0);
}

TEST_F(DriverTest, CancelAndEscapeRestoreTheSnapshotWithItsLength) {
    for (bool escape : {false, true}) {
        for (const Row& row : rows()) {
            SCOPED_TRACE(std::string(row.caption) + (escape ? " escape" : " cancel"));
            TWFMform* w = windowWithData();
            const auto before = *w->Doc.SampleStream;
            TTestOpDialog d;
            ui.onDialog([&](QDialog&) {
                d.preview(5);
                d.resizeTarget(150);
                w->Doc.SelectionStart = 120;
                w->Doc.SelectionEnd = 149;
                w->MarkerAmplitude = 300;
                if (escape) {
                    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                    QApplication::sendEvent(&d, &esc);
                } else {
                    d.setModalResult(2);
                }
            });
            PWForm1->RunDriver(row.driver, &d);
            EXPECT_EQ(*w->Doc.SampleStream, before);
            // The selection comes back too; a resize ends it on the last point either way.
            EXPECT_EQ(w->Doc.SelectionStart, 10);
            EXPECT_EQ(w->Doc.SelectionEnd, row.driver == Driver::Resize ? 99 : 19);
            EXPECT_EQ(w->MarkerAmplitude, 0);
            if (row.driver != Driver::EditBitPattern) {
                EXPECT_EQ(w->Caption(), "/data/waves/wave.wfm");
                EXPECT_EQ(w->Doc.SaveState, 0);
            }
            w->Doc.SaveState = 0;
            w->Close1Click();
            processEvents();
        }
    }
}

TEST_F(DriverTest, ALengthChangeDropsTheZoomAndClampsTheSelection) {
    TWFMform* w = windowWithData(100);
    w->Doc.SelectionStart = 90;
    w->Doc.SelectionEnd = 99;
    w->Zoomed = 1;
    w->ViewFirst = 80;
    TTestOpDialog d;
    ui.onDialog([&](QDialog&) {
        d.Target->Doc.SampleStream->resize(50);
        d.Changed = 1;
        d.setModalResult(1);
    });
    PWForm1->RunDriver(Driver::Resize, &d);
    EXPECT_EQ(w->Doc.PointCount(), 50);
    EXPECT_EQ(w->Doc.SelectionEnd, 49) << "resize sets the end to the last point";
    EXPECT_LE(w->Doc.SelectionStart, 49) << "the start is clamped into the shorter data";
    EXPECT_EQ(w->Zoomed, 0) << "a zoom past the new end is dropped";
    EXPECT_EQ(w->ViewFirst, -1);
    // An accepted dialog that inserted points drops the zoom as well.
    giveData(w, 20);
    w->Zoomed = 1;
    w->ViewFirst = 5;
    ui.onDialog([&](QDialog&) {
        d.resizeTarget(60);
        d.setModalResult(1);
    });
    PWForm1->RunDriver(Driver::Sine, &d);
    EXPECT_EQ(w->Doc.PointCount(), 60);
    EXPECT_EQ(w->Zoomed, 0);
    // Cancel bringing back another length drops the zoom and brings the selection back.
    giveData(w, 20);
    w->Doc.SelectionStart = 5;
    w->Doc.SelectionEnd = 19;
    w->Zoomed = 1;
    ui.onDialog([&](QDialog&) {
        d.Target->Doc.SampleStream->resize(40);
        w->Doc.SelectionStart = 30;
        w->Doc.SelectionEnd = 39;
        d.setModalResult(2);
    });
    PWForm1->RunDriver(Driver::Sine, &d);
    EXPECT_EQ(w->Doc.PointCount(), 20);
    EXPECT_EQ(w->Zoomed, 0);
    EXPECT_EQ(w->ViewFirst, -1);
    EXPECT_EQ(w->Doc.SelectionEnd, 19);
    EXPECT_EQ(w->Doc.SelectionStart, 5);
}

TEST_F(DriverTest, ResizeSetsTheEndToTheLastRestoredPointAfterCancel) {
    TWFMform* w = windowWithData(100);
    w->Doc.SelectionStart = 3;
    TTestOpDialog d;
    ui.onDialog([&](QDialog&) {
        d.resizeTarget(300);
        d.setModalResult(2);
    });
    PWForm1->RunDriver(Driver::Resize, &d);
    EXPECT_EQ(w->Doc.PointCount(), 100);
    EXPECT_EQ(w->Doc.SelectionEnd, 99);
    EXPECT_EQ(w->Doc.SelectionStart, 3);
}

TEST_F(DriverTest, EmptyWindowGuards) {
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.caption);
        TWFMform* w = newWindow();
        TTestOpDialog d;
        ui.clear();
        if (row.empty == Empty::SetUp) {
            answerSetUp(ui, "sig", "64", "1000");
            ui.onDialog([&](QDialog&) { d.setModalResult(1); });
        }
        PWForm1->RunDriver(row.driver, &d);
        EXPECT_TRUE(ui.scriptUsedUp());
        if (row.empty == Empty::SetUp) {
            EXPECT_EQ(ui.count("exec"), 2);
            EXPECT_EQ(w->Doc.PointCount(), 64);
            EXPECT_EQ(w->Doc.SampleStream->reference(), 500);
            EXPECT_EQ(d.StartPoint, 0);
            EXPECT_EQ(d.EndPoint, 63);
            EXPECT_EQ(d.MidCode, 500);
        } else {
            // Adjust, resize and smooth do nothing; paste fills from the clipboard instead;
            // the editor's driver has no guard but an empty window gives it nothing to edit.
            EXPECT_EQ(ui.count("exec"), 0);
            EXPECT_EQ(w->Doc.FileType, WaveFileType::None);
        }
        w->Doc.SaveState = 0;
        w->Close1Click();
        processEvents();
    }
}

TEST_F(DriverTest, ACancelledSetUpChangesNothingAndDoesNotEndTheNextRequest) {
    TWFMform* w = newWindow();
    TTestOpDialog d;
    answerSetUp(ui, "sig", "64", "1000", false);
    PWForm1->RunDriver(Driver::Sine, &d);
    EXPECT_EQ(ui.count("exec"), 1);
    EXPECT_EQ(d.shown, 0);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::None);
    EXPECT_EQ(w->Caption(), "Untitled");
    EXPECT_LT(w->Doc.PointCount(), 1);
    // The next request on a window with data reaches its dialog.
    TWFMform* other = windowWithData();
    ui.onDialog([&](QDialog&) { d.setModalResult(1); });
    PWForm1->RunDriver(Driver::Square, &d);
    EXPECT_EQ(d.shown, 1);
    (void)other;
}

TEST_F(DriverTest, EscapeInTheSetUpIsItsCancel) {
    TWFMform* w = newWindow();
    TTestOpDialog d;
    ui.onDialog([](QDialog& s) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&s, &esc);
    });
    PWForm1->RunDriver(Driver::Noise, &d);
    EXPECT_EQ(d.shown, 0);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::None);
}

TEST_F(DriverTest, NewWaveformSetupCreatesTheWaveform) {
    TWFMform* w = newWindow();
    w->Doc.UnsignedDisplay = 1;
    w->Doc.IsBitPattern = 1;
    w->Zoomed = 1;
    w->Doc.GenerationHistory = {{"", "", "", "", "", "t"}};
    answerSetUp(ui, "ramp", "5", "4096");
    PWForm1->NewWaveformSetup();
    EXPECT_EQ(w->Caption(), "New ramp (Not Stored)");
    EXPECT_EQ(w->Doc.WaveName, "ramp");
    EXPECT_EQ(w->Doc.SampleStream->toBytes(),
              std::string("\x00\x08\x00\x08\x00\x08\x00\x08\x00\x08\x00\x08", 12));
    EXPECT_EQ(w->Doc.SelectionStart, 0);
    EXPECT_EQ(w->Doc.SelectionEnd, 4);
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::NotFromFile);
    EXPECT_EQ(w->Doc.HistoryCount(), 0);
    EXPECT_TRUE(w->Doc.GenerationHistory.empty());
    EXPECT_EQ(w->Doc.UnsignedDisplay, 0);
    EXPECT_EQ(w->Doc.IsBitPattern, 0);
    EXPECT_EQ(w->Zoomed, 0);
}

TEST_F(DriverTest, NewBitPatternHoldsZeroWordsAndIsEdited) {
    TWFMform* w = newWindow();
    w->Doc.PatternRequest = 1;
    TTestOpDialog editor;
    answerSetUp(ui, "bits", "4");
    ui.onDialog([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Bit Pattern for bits");
        EXPECT_EQ(w->Doc.SampleStream->toBytes(),
                  std::string("\x00\x80\x00\x00\x00\x00\x00\x00\x00\x00", 10));
        editor.setModalResult(2);
    });
    PWForm1->NewBitPatternWith(&editor);
    EXPECT_EQ(w->Caption(), "New bits : Bit Pattern (Not Stored)");
    EXPECT_EQ(w->Doc.IsBitPattern, 1);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::BitPattern);
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_EQ(w->Doc.PointCount(), 4);
}

TEST_F(DriverTest, EditorCancelAfterAPatternSetUpOverAWaveformBringsTheWaveformBack) {
    TWFMform* w = windowWithData(100);
    w->Doc.GenerationHistory = {{"0", "0", "0", "0", "0", "t"}};
    const auto before = *w->Doc.SampleStream;
    w->Doc.PatternRequest = 1;
    TTestOpDialog editor;
    answerSetUp(ui, "bits", "8");
    ui.onDialog([&](QDialog&) { editor.setModalResult(2); });
    PWForm1->NewBitPatternWith(&editor);
    EXPECT_EQ(*w->Doc.SampleStream, before);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::Internal);
    EXPECT_EQ(w->Doc.IsBitPattern, 0);
    EXPECT_EQ(w->Caption(), "/data/waves/wave.wfm");
    EXPECT_EQ(w->Doc.SaveState, 0);
    ASSERT_EQ(w->Doc.HistoryCount(), 1);
    EXPECT_EQ(w->Doc.GenerationHistory[0].expression, "t");
}

TEST_F(DriverTest, DriversFollowTheCommandingWindow) {
    TWFMform* a = windowWithData();
    TWFMform* b = windowWithData();
    (void)b;
    PWForm1->ActivateWaveWindow(a);
    PWForm1->WaveMenus->target(); // a command from a's menu
    TTestOpDialog d;
    ui.onDialog([&](QDialog&) {
        EXPECT_EQ(d.Target, a);
        d.preview(7);
        d.setModalResult(1);
    });
    PWForm1->RunDriver(Driver::Sine, &d);
    EXPECT_EQ(d.Target, nullptr) << "the dialog forgets the window after the request";
    EXPECT_EQ(codeAt(a, 10), 7);
    EXPECT_EQ(codeAt(b, 10), 2048);
}

TEST(PasteThumbnail, DrawsTheBufferGreenOnBlackWithinThePlotArea) {
    // R 2048: code 4095 is near the top, 0 at the bottom; 12 px wide gives w 10.
    plotwell::workspace::SampleStream buffer(2048, 0);
    for (uint16_t c : {uint16_t(0), uint16_t(0), uint16_t(4095), uint16_t(4095), uint16_t(2048)})
        buffer.append(c);
    QImage image(12, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    TPWForm1::DrawPasteThumbnail(image, buffer);
    const QRgb green = qRgb(0, 255, 0), black = qRgb(0, 0, 0);
    EXPECT_EQ(image.pixel(0, 0), black);
    EXPECT_EQ(image.pixel(11, 23), black);
    // y(k) = trunc((1 - word/4096) * 20 + 2): the reference word at 12, code 0 at 22, 4095 at 2.
    EXPECT_EQ(image.pixel(1, 12), green);
    EXPECT_EQ(image.pixel(3, 22), green);
    EXPECT_EQ(image.pixel(5, 22), green);
    EXPECT_EQ(image.pixel(7, 2), green);
    EXPECT_EQ(image.pixel(9, 2), green);
    int greens = 0;
    for (int x = 0; x < 12; ++x)
        for (int yy = 0; yy < 24; ++yy)
            greens += image.pixel(x, yy) == green;
    EXPECT_GT(greens, 20);
    EXPECT_EQ(image.pixel(10, 12), black) << "the last point is not drawn";
}
