// What every generator dialog shares, driven as a user drives it: through the window's
// Waveform menu, real key events in the fields, and the buttons. The sine dialog stands
// for the family.

#include "app_fixture.h"
#include "workspace/forms/op_test_dialog.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "synthesis/core/expression.h"
#include "synthesis/forms/Noisewave.h"
#include "synthesis/forms/expression.h"
#include "synthesis/forms/sinewave.h"
#include "workspace/forms/wfmchild.h"
#include "workspace/forms/wfmsetup.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cmath>

using namespace plotwell;

namespace {

class GeneratorDialogTest : public AppTest {
protected:
    // A stored waveform of `points` points at value 0.
    TWFMform* stored(int points, uint16_t reference = 32768) {
        TWFMform* w = newWindow();
        giveData(w, points, 0, reference, "/data/sig.wfm");
        return w;
    }
    void sine(std::function<void(TSineForm&)> script) {
        ui.onDialog([script](QDialog& d) { script(dynamic_cast<TSineForm&>(d)); });
        PWForm1->WaveMenus->Sine1->trigger();
    }
    // `keys` typed into `edit`; '\b' is backspace.
    static void type(QLineEdit* edit, const std::string& keys) {
        for (char c : keys)
            QTest::keyClick(edit, c == '\b' ? Qt::Key_Backspace : Qt::Key(QChar(c).toUpper().unicode()));
    }
    // The user leaves the field.
    static void leave(QLineEdit* edit) {
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(edit, &out);
    }
    static std::string text(const QLineEdit* e) { return e->text().toStdString(); }
    static std::vector<uint16_t> codes(TWFMform* w) {
        const auto c = w->Doc.SampleStream->codes();
        return {c.begin(), c.end()};
    }
};

} // namespace

TEST_F(GeneratorDialogTest, SineOnANewWindowGivesTheCodesOfTheFormula) {
    TWFMform* w = newWindow();
    ui.onDialog([](QDialog&) {
        WaveSetup->WfmTitle->setText("sine");
        WaveSetup->WfmAmpl->setText("65536");
        WaveSetup->WfmLen->setText("16");
        WaveSetup->BOk->click();
    });
    sine([](TSineForm& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Sinewave for sine");
        EXPECT_EQ(text(d.Start), "0");
        EXPECT_EQ(text(d.End), "15");
        EXPECT_EQ(text(d.Amplitude), "65535");
        EXPECT_EQ(text(d.Offset), "0");
        EXPECT_EQ(text(d.Cycles), "1.00");
        EXPECT_EQ(text(d.Phase), "0.00");
        d.Target->Doc.IsBitPattern = 1;
        d.Cycles->setText("2");
        leave(d.Cycles);
        d.Phase->setText("45");
        leave(d.Phase);
        d.BOk->click();
    });
    // amp*sin(omg*(t*2+per*45/360)) with amp = (65535+1)/2 - 1, omg = 2 pi / 16.
    std::vector<uint16_t> expected;
    for (int t = 0; t < 16; ++t) {
        const double v = 32767.0 * std::sin(synthesis::kExprTwoPi / 16 * (t * 2.0 + 16 * 45.0 / 360));
        expected.push_back(uint16_t(32768 + std::lround(v)));
    }
    EXPECT_EQ(codes(w), expected);
    EXPECT_EQ(w->Doc.FileType, workspace::WaveFileType::Internal);
    EXPECT_EQ(w->Doc.IsBitPattern, 0) << "the sine turns a bit pattern into a waveform";
    EXPECT_EQ(w->MarkerAmplitude, 0) << "the preview lines go";
    ASSERT_EQ(w->Doc.HistoryCount(), 1);
    EXPECT_EQ(w->Doc.GenerationHistory[0].start, "0");
    EXPECT_EQ(w->Doc.GenerationHistory[0].end, "15");
    EXPECT_EQ(w->Doc.GenerationHistory[0].amplitude, "65535");
    EXPECT_EQ(w->Doc.GenerationHistory[0].offset, "0");
    EXPECT_EQ(w->Doc.GenerationHistory[0].levelMode, "0");
    EXPECT_EQ(w->Doc.GenerationHistory[0].expression, "amp*sin(omg*(t*2.00+per*45.00/360))");
    EXPECT_TRUE(ExpressionForm->Expr->currentText().isEmpty());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(GeneratorDialogTest, TheSignToggleAndRepairMoveTheLines) {
    TWFMform* w = stored(100);
    sine([&](TSineForm& d) {
        EXPECT_EQ(w->MarkerAmplitude, 32767);
        EXPECT_EQ(w->MarkerOffset, 0);
        d.Offset->setText("25");
        d.BPreviewClick();
        ASSERT_TRUE(d.Previewed);
        type(d.Offset, "-");
        EXPECT_EQ(text(d.Offset), "-25");
        EXPECT_FALSE(d.Previewed) << "a sign toggle is an edit";
        leave(d.Offset);
        EXPECT_EQ(w->MarkerOffset, -25);
        EXPECT_EQ(codes(w), std::vector<uint16_t>(100, 32768)) << "leaving the field takes the preview away";

        d.Offset->setCursorPosition(0);
        type(d.Offset, "3");
        EXPECT_EQ(text(d.Offset), "-325");
        EXPECT_EQ(d.Offset->cursorPosition(), 2);
        type(d.Offset, "-");
        EXPECT_EQ(text(d.Offset), "325");
        leave(d.Offset);
        EXPECT_EQ(w->MarkerOffset, 325);

        type(d.Phase, "-");
        d.Phase->setCursorPosition(0);
        type(d.Phase, "9");
        EXPECT_EQ(text(d.Phase), "-90.00");
        leave(d.Phase);
        EXPECT_EQ(text(d.Phase), "-90.00");
        EXPECT_EQ(d.PhaseValue, -90.0);
        d.BCancel->click();
    });
    EXPECT_EQ(w->MarkerAmplitude, 0);
    EXPECT_EQ(SineForm->OffsetCodes, 325) << "the offset is kept for the next request";
    SineForm->OffsetCodes = 0;
    SineForm->PhaseValue = 0.0;
}

TEST_F(GeneratorDialogTest, KeyFiltersLetOnlyTheFieldsCharactersThrough) {
    stored(100);
    sine([&](TSineForm& d) {
        struct Row {
            QLineEdit* edit;
            const char* before;
            const char* keys;
            const char* after;
        };
        const Row rows[] = {
            {d.Start, "1", "a-.2", "12"},
            {d.Amplitude, "", "1x2 3", "123"},
            {d.Cycles, "", "1.5.2e", "1.52"},
            {d.Cycles, "", "1234567890", "123456789"}, // nine characters in the sine dialog
            {d.Offset, "", "4.2", "42"},
            {d.Phase, "", "1.5-", "-1.5"},
        };
        for (const Row& r : rows) {
            r.edit->setText(r.before);
            r.edit->end(false);
            type(r.edit, r.keys);
            EXPECT_EQ(text(r.edit), r.after) << r.keys;
        }
        d.BCancel->click();
    });
}

TEST_F(GeneratorDialogTest, RangeExitsClampAndMoveTheSelection) {
    TWFMform* w = stored(100);
    w->Doc.SelectionStart = 10;
    w->Doc.SelectionEnd = 20;
    sine([&](TSineForm& d) {
        EXPECT_EQ(d.LastPoint, 99);
        d.Start->selectAll();
        type(d.Start, "35");
        EXPECT_EQ(text(d.Start), "20") << "a start beyond the end is the end at once";
        leave(d.Start);
        EXPECT_EQ(w->Doc.SelectionStart, 20);

        d.End->selectAll();
        type(d.End, "500");
        leave(d.End);
        EXPECT_EQ(text(d.End), "99");
        EXPECT_EQ(w->Doc.SelectionEnd, 99);

        d.End->selectAll();
        type(d.End, "5");
        leave(d.End);
        EXPECT_EQ(text(d.End), "20") << "an end below the start is the start";

        d.Start->selectAll();
        type(d.Start, "0");
        leave(d.Start);
        d.End->selectAll();
        type(d.End, "99");
        leave(d.End);
        d.Start->setText("150");
        d.Start->setModified(true);
        leave(d.Start);
        EXPECT_EQ(text(d.Start), "0") << "a start beyond the last point is 0";

        d.Amplitude->selectAll();
        type(d.Amplitude, "1000");
        leave(d.Amplitude);
        EXPECT_EQ(w->MarkerAmplitude, 500);
        d.BCancel->click();
    });
}

TEST_F(GeneratorDialogTest, PreviewThenOkKeepsThePreviewAndCancelRestores) {
    TWFMform* w = stored(64);
    const auto before = codes(w);
    std::vector<uint16_t> previewed;
    ui.onDialog([&](QDialog& d) {
        auto& n = dynamic_cast<TGeneratorForm&>(d);
        n.BPreview->click();
        previewed = codes(w);
        EXPECT_NE(previewed, before);
        n.BOk->click(); // a second run would draw other numbers
    });
    PWForm1->WaveMenus->Noise1->trigger();
    EXPECT_EQ(codes(w), previewed);
    EXPECT_EQ(w->Doc.GenerationHistory.back().expression, "amp*rnd");

    sine([&](TSineForm& d) {
        d.BPreview->click();
        EXPECT_NE(codes(w), previewed);
        d.BCancel->click();
    });
    EXPECT_EQ(codes(w), previewed);
    EXPECT_EQ(w->MarkerAmplitude, 0);
    EXPECT_EQ(w->Doc.HistoryCount(), 1);
}

TEST_F(GeneratorDialogTest, EscapeCancelsWhereBoundAndIsIgnoredElsewhereAndF1Helps) {
    TWFMform* w = stored(64);
    const auto before = codes(w);
    sine([&](TSineForm& d) {
        d.BPreview->click();
        QTest::keyClick(&d, Qt::Key_F1);
        EXPECT_EQ(ui.events().back().kind, "help");
        EXPECT_EQ(ui.events().back().text, "10006");
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(codes(w), before);
    EXPECT_EQ(w->MarkerAmplitude, 0);

    ui.onDialog([&](QDialog& d) {
        auto& n = dynamic_cast<TGeneratorForm&>(d);
        n.BPreview->click();
        QTest::keyClick(&n, Qt::Key_Escape);
        EXPECT_TRUE(n.isVisible()) << "the noise dialog ignores Escape";
        EXPECT_NE(w->MarkerAmplitude, 0);
        n.close(); // the close box cancels
        EXPECT_FALSE(n.isVisible());
    });
    PWForm1->WaveMenus->Noise1->trigger();
    EXPECT_EQ(codes(w), before);
    EXPECT_EQ(w->MarkerAmplitude, 0);
    EXPECT_EQ(w->Doc.HistoryCount(), 0);
}

TEST_F(GeneratorDialogTest, DefaultResetsAndPreviewsAndAnErrorKeepsTheDialogOpen) {
    TWFMform* w = stored(8);
    w->Doc.SelectionStart = 0;
    w->Doc.SelectionEnd = 7;
    w->Zoomed = 0;
    sine([&](TSineForm& d) {
        d.Offset->setText("100");
        d.Offset->setModified(true);
        leave(d.Offset);
        d.Cycles->setText("3");
        leave(d.Cycles);
        d.Amplitude->selectAll();
        type(d.Amplitude, "1000");
        d.BDefault->click();
        EXPECT_EQ(text(d.Offset), "0");
        EXPECT_EQ(text(d.Amplitude), "65535");
        EXPECT_EQ(text(d.Cycles), "1.00");
        EXPECT_TRUE(d.Previewed);
        EXPECT_EQ(codes(w), (std::vector<uint16_t>{32768, 55938, 65535, 55938, 32768, 9598, 1, 9598}));

        d.BCancel->click();
    });

    // A square of no cycles fails: the dialog stays open, with the window's type set and no entry.
    w->Doc.FileType = workspace::WaveFileType::Gs2020Sig;
    ui.onDialog([&](QDialog& d) {
        auto& g = dynamic_cast<TGeneratorForm&>(d);
        auto* cycles = g.findChild<QLineEdit*>("Cycles");
        cycles->selectAll();
        type(cycles, "0");
        leave(cycles);
        g.BOk->click();
        EXPECT_TRUE(g.isVisible());
        EXPECT_EQ(w->Doc.FileType, workspace::WaveFileType::Internal);
        EXPECT_EQ(w->MarkerAmplitude, 0);
        ASSERT_EQ(ui.messages().size(), 1u);
        g.BOk->click();
        EXPECT_EQ(ui.messages().size(), 1u) << "OK after the error does not run the same preview again";
        g.BCancel->click();
    });
    PWForm1->WaveMenus->Square1->trigger();
    EXPECT_EQ(w->Doc.HistoryCount(), 0);
    ui.clear();
}

TEST_F(GeneratorDialogTest, ClosingWithAFieldInTheMiddleOfAnEditLeavesTheWindowAlone) {
    TWFMform* w = stored(100);
    w->Doc.SelectionStart = 10;
    w->Doc.SelectionEnd = 20;
    sine([&](TSineForm& d) {
        d.activateWindow();
        QApplication::setActiveWindow(&d);
        d.Start->setFocus();
        ASSERT_TRUE(d.Start->hasFocus());
        d.Start->selectAll();
        type(d.Start, "5");
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(w->Doc.SelectionStart, 10) << "a cancelled edit does not move the selection";
    EXPECT_EQ(w->MarkerAmplitude, 0) << "the preview lines do not come back";
}

// Default gives the same fields however it is pressed, also when it leaves the caret in a
// field just typed into (a screen reader presses the button without moving the focus): for
// each field that Default resets, the typed value goes, and OK generates from the defaults.
TEST_F(GeneratorDialogTest, DefaultResetsTheFieldBeingEdited) {
    struct Field {
        const char* name;
        const char* typed;
        const char* shown; // after Default
    };
    struct Case {
        QAction* item;
        bool levels; // the dialog shows the amplitude and offset fields
        std::vector<Field> own;
        const char* expression;
        bool repeatable; // the defaults give the same codes each time (noise draws new ones)
    };
    const TWaveMenus& m = *PWForm1->WaveMenus;
    const std::vector<Field> cyclesAndPhase = {{"Cycles", "3", "1.00"}, {"Phase", "45", "0.00"}};
    const std::vector<Field> percents = {
        {"PRint", "7", "20.00"},  {"PRseg", "7", "10.00"}, {"QRSdur", "7", "10.00"}, {"VAT", "7", "5.00"},
        {"QTint", "7", "50.00"},  {"STseg", "7", "20.00"}, {"Pampl", "7", "20.00"},  {"Qampl", "7", "10.00"},
        {"Rampl", "7", "100.00"}, {"Sampl", "7", "30.00"}, {"Tampl", "7", "25.00"},  {"Cycles", "3", "1.00"}};
    const Case cases[] = {
        {m.Sine1, true, cyclesAndPhase, "amp*sin(omg*(t*1.00+per*0.00/360))", true},
        {m.Triangle1, true, cyclesAndPhase, "amp*asin(sin(omg*(t*1.00+per*0.00/360)))*2/pi", true},
        {m.Square1,
         true,
         {{"Cycles", "3", "1.00"}, {"Duty", "20", "50.00"}},
         "amp*pulse(0,0,50.00,0,1.00)",
         true},
        {m.Noise1, true, {}, "amp*rnd", false},
        {m.Pulse1,
         false,
         {{"Low", "100", "0"},
          {"HighL", "200", "32767"},
          {"Delay", "5", "10.00"},
          {"Rise", "5", "10.00"},
          {"HighT", "5", "40.00"},
          {"Fall", "5", "10.00"},
          {"Cycles", "3", "1.00"}},
         "pulse(10.00,10.00,40.00,10.00,1.00)*16383+16383",
         true},
        {m.Sinc1,
         true,
         {{"ZeroCross", "7", "20"}, {"Phase", "45", "180.00"}},
         "+amp*sin(pi*f*(10^-9+t-per*180.00/360)*20)/(pi*f*(10^-9+t-per*180.00/360)*20)",
         true},
        {m.Exponent1, true, {{"Timeconst", "7", "20"}}, "+amp*exp(-t/20)", true},
        {m.Gausian1, true, {{"Timeconst", "7", "5"}}, "+amp*e^(-(t-per/2)^2/(5^2))", true},
        {m.Cardiac1, true, percents,
         "amp*ecg(20.00,10.00,10.00,5.00,50.00,20.00,20.00,10.00,100.00,30.00,25.00,0.00,1.00)", true},
    };
    TWFMform* w = stored(100);
    std::size_t entries = 0;
    for (const Case& c : cases) {
        std::vector<Field> fields = c.own;
        if (c.levels)
            fields.insert(fields.begin(), {{"Amplitude", "1000", "65535"}, {"Offset", "25", "0"}});
        std::vector<uint16_t> byDefault;
        // First Default with no field being edited, then once with each field typed into.
        for (int edited = -1; edited < int(fields.size()); ++edited) {
            SCOPED_TRACE(c.item->text().toStdString() + " " + (edited < 0 ? "none" : fields[edited].name));
            ui.onDialog([&](QDialog& d) {
                d.activateWindow();
                QApplication::setActiveWindow(&d);
                if (edited >= 0) {
                    auto* edit = d.findChild<QLineEdit*>(fields[edited].name);
                    edit->setFocus();
                    ASSERT_TRUE(edit->hasFocus());
                    edit->selectAll();
                    type(edit, fields[edited].typed);
                }
                d.findChild<QPushButton*>("BDefault")->click();
                for (const Field& f : fields)
                    EXPECT_EQ(text(d.findChild<QLineEdit*>(f.name)), f.shown) << f.name;
                d.findChild<QPushButton*>("BOk")->click();
            });
            c.item->trigger();
            ASSERT_EQ(w->Doc.GenerationHistory.size(), ++entries) << "OK closed the dialog";
            const workspace::GenerationEntry& entry = w->Doc.GenerationHistory.back();
            EXPECT_EQ(entry.expression, c.expression);
            EXPECT_EQ(entry.amplitude, "65535");
            EXPECT_EQ(entry.offset, "0");
            if (edited < 0) {
                byDefault = codes(w);
            } else if (c.repeatable) {
                EXPECT_EQ(codes(w), byDefault);
            }
        }
    }
    EXPECT_TRUE(ui.messages().empty());
}
