// The expression dialog driven as a user drives it: through the window's menu, the
// new-waveform set-up and the dialog's fields and buttons.

#include "app_fixture.h"
#include "workspace/forms/op_test_dialog.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "synthesis/forms/Pregress.h"
#include "synthesis/forms/expression.h"
#include "workspace/forms/wfmchild.h"
#include "workspace/forms/wfmsetup.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using plotwell::workspace::WaveFileType;
using namespace plotwell;

namespace {

class ExpressionDialogTest : public AppTest {
protected:
    TExpressionForm& f() { return *ExpressionForm; }
    // A stored waveform of `points` points at value 0, R 32768.
    TWFMform* stored(int points, const char* name = "/data/sig.wfm") {
        TWFMform* w = newWindow();
        giveData(w, points, 0, 32768, name);
        return w;
    }
    void addHistory(TWFMform* w, const char* start, const char* end, const char* ampl, const char* offset,
                    const char* adjust, const char* expr) {
        w->Doc.GenerationHistory.push_back({start, end, ampl, offset, adjust, expr});
    }
    // Opens the dialog from the window's Waveform menu and runs `script` in it.
    void expression(std::function<void(TExpressionForm&)> script) {
        ui.onDialog([script](QDialog& d) { script(dynamic_cast<TExpressionForm&>(d)); });
        PWForm1->WaveMenus->Expression1->trigger();
    }
    static void type(QWidget* w, Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
    static std::vector<uint16_t> codes(TWFMform* w) {
        const auto c = w->Doc.SampleStream->codes();
        return {c.begin(), c.end()};
    }
};

} // namespace

TEST_F(ExpressionDialogTest, TheFirstRoadNewWindowToAGeneratedSine) {
    PWForm1->New1->trigger();
    TWFMform* w = CurrentWaveWindow;
    ASSERT_NE(w, nullptr);
    // The set-up names the waveform and gives it 1000 points of 16 bits.
    ui.onDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "New Waveform Setup");
        WaveSetup->WfmTitle->setText("sine");
        WaveSetup->WfmAmpl->setText("65536");
        WaveSetup->WfmLen->setText("1000");
        WaveSetup->BOk->click();
    });
    bool previewed = false;
    expression([&](TExpressionForm& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Expression for sine");
        EXPECT_EQ(d.Start->text().toStdString(), "0");
        EXPECT_EQ(d.End->text().toStdString(), "999");
        EXPECT_EQ(d.Amplitude->text().toStdString(), "65535");
        EXPECT_EQ(d.Offset->text().toStdString(), "0");
        EXPECT_TRUE(d.AsCalculated->isChecked());
        EXPECT_EQ(w->MarkerAmplitude, 32767) << "preview lines while the dialog is open";
        d.EdExpr->setText("amp*sin(omg*t)");
        d.BPreview->click();
        EXPECT_EQ(w->Doc.SampleStream->code(250), 65535);
        previewed = true;
        d.BOK->click();
    });
    EXPECT_TRUE(previewed);
    EXPECT_TRUE(ui.messages().empty()) << ui.lastMessage();
    const auto& s = *w->Doc.SampleStream;
    EXPECT_EQ(s.reference(), 32768);
    EXPECT_EQ(s.count(), 1000);
    EXPECT_EQ(s.code(0), 32768);
    EXPECT_EQ(s.code(1), 32974);
    EXPECT_EQ(s.code(125), 55938);
    EXPECT_EQ(s.code(250), 65535);
    EXPECT_EQ(s.code(500), 32768);
    EXPECT_EQ(s.code(750), 1);
    EXPECT_EQ(s.code(999), 32562);
    EXPECT_EQ(w->Caption(), "New sine (Not Stored)");
    EXPECT_EQ(w->Doc.WaveName, "sine");
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::Internal);
    EXPECT_EQ(w->MarkerAmplitude, 0);
    EXPECT_EQ(w->Doc.GenerationHistory, (std::vector<plotwell::workspace::GenerationEntry>{
                                            {"0", "999", "65535", "0", "0", "amp*sin(omg*t)"}}));
    EXPECT_EQ(ui.count("exec"), 2);
    EXPECT_EQ(statusPanel(), (std::vector<std::string>{"   Status sine:", "   Start 0:", "Value    +0:",
                                                       "   End 999:", "Value  -206:", "   Length 1000:"}));
}

TEST_F(ExpressionDialogTest, OkOnAStoredWindowMarksItModifiedOnce) {
    TWFMform* w = stored(100);
    for (int pass = 0; pass < 2; ++pass) {
        expression([](TExpressionForm& d) {
            d.EdExpr->setText("amp/2");
            d.BOK->click();
        });
        EXPECT_EQ(w->Caption(), "/data/sig.wfm (Modified)");
    }
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_EQ(w->Doc.SampleStream->code(0), 32768 + 16384);
    EXPECT_EQ(w->Doc.HistoryCount(), 2);
}

TEST_F(ExpressionDialogTest, PreviewThenOkWithoutAChangeKeepsThePreview) {
    TWFMform* w = stored(200);
    std::vector<uint16_t> preview;
    expression([&](TExpressionForm& d) {
        d.EdExpr->setText("amp*rnd");
        d.BPreview->click();
        preview = codes(w);
        d.BOK->click(); // a second run would draw other random numbers
    });
    EXPECT_EQ(codes(w), preview);
    EXPECT_NE(preview, std::vector<uint16_t>(200, 32768));
    ASSERT_EQ(w->Doc.HistoryCount(), 1);
    EXPECT_EQ(w->Doc.GenerationHistory[0].expression, "amp*rnd");
}

TEST_F(ExpressionDialogTest, OkAfterAnErroneousPreviewDoesNothingMore) {
    TWFMform* w = stored(10);
    int messagesAfterPreview = 0;
    expression([&](TExpressionForm& d) {
        d.EdExpr->setText("1/(t-3)");
        d.BPreview->click();
        messagesAfterPreview = int(ui.messages().size());
        d.BOK->click();
        EXPECT_TRUE(d.isVisible()) << "the dialog stays open";
        EXPECT_EQ(int(ui.messages().size()), messagesAfterPreview) << "nothing new is shown";
        EXPECT_EQ(w->Doc.HistoryCount(), 0);
        EXPECT_EQ(w->Doc.FileType, WaveFileType::Internal);
    }); // then the dialog is closed from its close box
    EXPECT_EQ(messagesAfterPreview, 1);
    EXPECT_EQ(codes(w), std::vector<uint16_t>(10, 32768)) << "Cancel put the samples back";
    EXPECT_EQ(w->Caption(), "/data/sig.wfm");
    EXPECT_EQ(w->Doc.SaveState, 0);
    EXPECT_EQ(w->Doc.HistoryCount(), 0);
}

TEST_F(ExpressionDialogTest, EscapeCancelsAPreviewAndItsLines) {
    TWFMform* w = stored(10);
    expression([&](TExpressionForm& d) {
        d.EdExpr->setText("amp");
        d.BPreview->click();
        EXPECT_EQ(w->Doc.SampleStream->code(0), 65535);
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(d.EdExpr, &esc);
    });
    EXPECT_EQ(codes(w), std::vector<uint16_t>(10, 32768));
    EXPECT_EQ(w->MarkerAmplitude, 0);
    EXPECT_EQ(w->Doc.HistoryCount(), 0);
    EXPECT_EQ(w->Doc.SaveState, 0);
}

TEST_F(ExpressionDialogTest, RecallFillsTheFieldsAndClampsTheRange) {
    TWFMform* w = stored(100);
    addHistory(w, "10", "20", "1000", "-5", "1", "amp*sin(omg*t)");
    addHistory(w, "50", "5000", "2000", "7", "x", "t");
    expression([&](TExpressionForm& d) {
        ASSERT_EQ(d.Expr->count(), 2);
        EXPECT_EQ(d.Expr->itemText(1).toStdString(), "t");
        d.Expr->setCurrentIndex(0);
        Q_EMIT d.Expr->activated(0);
        EXPECT_EQ(d.Start->text().toStdString(), "10");
        EXPECT_EQ(d.End->text().toStdString(), "20");
        EXPECT_EQ(d.Amplitude->text().toStdString(), "1000");
        EXPECT_EQ(d.Offset->text().toStdString(), "-5");
        EXPECT_TRUE(d.AutoAdjP->isChecked());
        EXPECT_EQ(d.EdExpr->text().toStdString(), "amp*sin(omg*t)");
        EXPECT_EQ(w->Doc.SelectionStart, 10);
        EXPECT_EQ(w->Doc.SelectionEnd, 20);
        EXPECT_EQ(w->MarkerAmplitude, 500);
        EXPECT_EQ(w->MarkerOffset, -5);
        // An entry reaching past the data ends at the last point; "x" checks no level.
        d.Expr->setCurrentIndex(1);
        Q_EMIT d.Expr->activated(1);
        EXPECT_EQ(d.Start->text().toStdString(), "50");
        EXPECT_EQ(d.End->text().toStdString(), "99");
        EXPECT_EQ(w->Doc.SelectionEnd, 99);
        EXPECT_FALSE(d.AsCalculated->isChecked() || d.AutoAdjP->isChecked() || d.AutoAdjPP->isChecked());
        d.BOK->click();
    });
    EXPECT_EQ(w->Doc.HistoryCount(), 3);
    EXPECT_EQ(w->Doc.GenerationHistory.back().expression, "t");
    EXPECT_EQ(w->Doc.GenerationHistory.back().end, "99");
    EXPECT_EQ(w->Doc.GenerationHistory.back().levelMode, "0");
    EXPECT_EQ(w->Doc.SampleStream->code(49), 32768);
    EXPECT_EQ(w->Doc.SampleStream->code(52), 32768 + 7 + 2);
}

TEST_F(ExpressionDialogTest, DeletingTheOnlyEntryLeavesAnEmptyHistoryAndMarksTheWindow) {
    TWFMform* w = stored(100);
    addHistory(w, "0", "99", "100", "0", "0", "amp");
    expression([&](TExpressionForm& d) {
        EXPECT_FALSE(d.BDelete->isEnabled());
        d.BExpDel->click();
        EXPECT_TRUE(d.ExprEditPnl->isVisible());
        EXPECT_TRUE(d.BDelete->isEnabled());
        EXPECT_FALSE(d.BExpDel->isEnabled());
        EXPECT_FALSE(d.BHelp->isEnabled());
        d.Expr->setCurrentIndex(0);
        d.BDelete->click();
        EXPECT_EQ(d.Expr->count(), 0);
        EXPECT_TRUE(d.Expr->currentText().isEmpty());
        d.BExit->click();
        EXPECT_FALSE(d.ExprEditPnl->isVisible());
        EXPECT_TRUE(d.BExpDel->isEnabled());
        d.BCancel->click();
    });
    EXPECT_EQ(w->Doc.HistoryCount(), 0);
    EXPECT_TRUE(w->Doc.GenerationHistory.empty());
    EXPECT_EQ(w->Caption(), "/data/sig.wfm (Modified)");
    EXPECT_EQ(w->Doc.SaveState, 1);
}

TEST_F(ExpressionDialogTest, LongExpressionsKeepTheirWholeText) {
    TWFMform* w = stored(50);
    std::string longExpr = "0";
    while (longExpr.size() < 700)
        longExpr += "+0.001*sin(omg*t)";
    expression([&](TExpressionForm& d) {
        d.EdExpr->setText(QString::fromStdString(longExpr));
        d.BOK->click();
    });
    ASSERT_EQ(w->Doc.HistoryCount(), 1);
    EXPECT_EQ(w->Doc.GenerationHistory[0].expression, longExpr);
    expression([&](TExpressionForm& d) {
        Q_EMIT d.Expr->activated(0);
        EXPECT_EQ(d.EdExpr->text().toStdString(), longExpr);
        d.BCancel->click();
    });
}

TEST_F(ExpressionDialogTest, FieldKeysAndTheOffsetSign) {
    stored(100);
    expression([&](TExpressionForm& d) {
        d.Offset->setText("25");
        d.Offset->setCursorPosition(1);
        type(d.Offset, Qt::Key_Minus, "-");
        EXPECT_EQ(d.Offset->text().toStdString(), "-25") << "'-' anywhere toggles a leading minus";
        EXPECT_EQ(d.OffsetCodes, -25);
        type(d.Offset, Qt::Key_Minus, "-");
        EXPECT_EQ(d.Offset->text().toStdString(), "25");
        d.Offset->setText("-25");
        d.Offset->setCursorPosition(0);
        type(d.Offset, Qt::Key_3, "3");
        EXPECT_EQ(d.Offset->text().toStdString(), "-325")
            << "a digit typed in front keeps the minus in front";
        EXPECT_EQ(d.OffsetCodes, -325);
        // Backspace cannot take the minus away either: only '-' changes the sign.
        d.Offset->setCursorPosition(1);
        type(d.Offset, Qt::Key_Backspace, "\b");
        EXPECT_EQ(d.Offset->text().toStdString(), "-325");
        EXPECT_EQ(d.OffsetCodes, -325);
        // Letters do not get into the numeric fields.
        d.Amplitude->setText("12");
        d.Amplitude->setCursorPosition(2);
        type(d.Amplitude, Qt::Key_A, "a");
        EXPECT_EQ(d.Amplitude->text().toStdString(), "12");
        // A start typed beyond the end is pulled down to it on key release.
        d.End->setText("40");
        d.EndPoint = 40;
        d.Start->setText("5");
        d.Start->setCursorPosition(1);
        type(d.Start, Qt::Key_7, "7");
        EXPECT_EQ(d.Start->text().toStdString(), "40");
        EXPECT_EQ(d.StartPoint, 40);
        EXPECT_EQ(d.Changed, 1);
        EXPECT_EQ(d.Previewed, 0);
        d.BCancel->click();
    });
}

TEST_F(ExpressionDialogTest, LeavingTheFieldsBringsThemWithinTheData) {
    TWFMform* w = stored(100);
    expression([&](TExpressionForm& d) {
        d.Start->setText("500");
        d.Start->setModified(true);
        d.StartExit();
        EXPECT_EQ(d.Start->text().toStdString(), "0") << "a start beyond the last point becomes 0";
        d.End->setText("7777");
        d.End->setModified(true);
        d.EndExit();
        EXPECT_EQ(d.End->text().toStdString(), "99");
        EXPECT_EQ(w->Doc.SelectionEnd, 99);
        d.Amplitude->setText("301");
        d.Amplitude->setModified(true);
        d.AmplitudeExit();
        EXPECT_EQ(w->MarkerAmplitude, 150);
        d.BCancel->click();
    });
}

TEST_F(ExpressionDialogTest, HeightsHelpAndWaveformNames) {
    stored(100, "/data/first.wfm");
    stored(100, "/data/second.wfm");
    expression([&](TExpressionForm& d) {
        EXPECT_EQ(d.FormHeight(), TExpressionForm::kShortHeight);
        EXPECT_EQ(d.BMoreinfo->text().toStdString(), "More info...");
        d.BMoreinfo->click();
        EXPECT_EQ(d.FormHeight(), TExpressionForm::kTallHeight);
        EXPECT_EQ(d.BMoreinfo->text().toStdString(), "Less info");
        d.BHelp->click();
        QTest::keyClick(&d, Qt::Key_F1);
        // The names of the open windows, inserted at the caret.
        EXPECT_FALSE(d.WfmList->isVisible());
        d.Wfm->click();
        ASSERT_TRUE(d.WfmList->isVisible());
        ASSERT_EQ(d.WfmList->count(), 2);
        EXPECT_EQ(d.WfmList->item(0)->text().toStdString(), "first.wfm");
        d.EdExpr->setText("amp*");
        d.EdExpr->setCursorPosition(4);
        d.EdExpr->insert("+1");
        d.EdExpr->setCursorPosition(4);
        Q_EMIT d.WfmList->itemClicked(d.WfmList->item(0));
        EXPECT_EQ(d.EdExpr->text().toStdString(), "amp*wfm(first.wfm)+1");
        EXPECT_EQ(d.EdExpr->cursorPosition(), 18);
        EXPECT_EQ(d.Expr->currentText().toStdString(), "amp*wfm(first.wfm)+1");
        EXPECT_FALSE(d.WfmList->isVisible());
        d.BCancel->click();
    });
    EXPECT_EQ(ui.count("help"), 2) << "Help, then F1";
    for (const auto& e : ui.events())
        if (e.kind == "help") {
            EXPECT_EQ(e.text, "10001");
        }
    // The driver shows the dialog short again.
    expression([&](TExpressionForm& d) {
        EXPECT_EQ(d.FormHeight(), TExpressionForm::kShortHeight);
        EXPECT_EQ(d.BMoreinfo->text().toStdString(), "More info...");
        d.BCancel->click();
    });
}

TEST_F(ExpressionDialogTest, AnAutoAdjustedRunLeavesTheNextShowingAsCalculated) {
    TWFMform* w = stored(100);
    expression([&](TExpressionForm& d) {
        d.EdExpr->setText("sin(omg*t)+5");
        d.AutoAdjPP->click();
        d.BOK->click();
    });
    ASSERT_EQ(w->Doc.HistoryCount(), 1);
    EXPECT_EQ(w->Doc.GenerationHistory[0].levelMode, "2");
    EXPECT_EQ(w->Doc.SampleStream->code(25), 65535);
    expression([&](TExpressionForm& d) {
        EXPECT_TRUE(d.AsCalculated->isChecked());
        d.BCancel->click();
    });
}

TEST_F(ExpressionDialogTest, OkAfterRecallingTheExpressionJustPreviewedGeneratesTheRecalledEntry) {
    TWFMform* w = stored(100);
    addHistory(w, "0", "99", "1000", "0", "0", "amp");
    expression([&](TExpressionForm& d) {
        d.EdExpr->setText("amp");
        d.BPreview->click();
        EXPECT_EQ(w->Doc.SampleStream->code(0), 65535);
        // The recall puts the samples back; the same expression text is no edit.
        d.Expr->setCurrentIndex(0);
        Q_EMIT d.Expr->activated(0);
        EXPECT_EQ(w->Doc.SampleStream->code(0), 32768);
        d.BOK->click();
    });
    EXPECT_EQ(w->Doc.SampleStream->code(0), 32768 + 500) << "the window shows what the history says";
    ASSERT_EQ(w->Doc.HistoryCount(), 2);
    EXPECT_EQ(w->Doc.GenerationHistory.back().amplitude, "1000");
}

TEST_F(ExpressionDialogTest, EnterInTheExpressionLineDeletesNoHistoryEntry) {
    TWFMform* w = stored(100);
    addHistory(w, "0", "99", "100", "0", "0", "amp");
    expression([&](TExpressionForm& d) {
        d.BExpDel->click();
        d.Expr->setCurrentIndex(0);
        d.EdExpr->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(d.EdExpr, &enter);
        EXPECT_EQ(w->Doc.HistoryCount(), 1);
        EXPECT_TRUE(d.isVisible());
        d.BCancel->click();
    });
    ASSERT_EQ(w->Doc.HistoryCount(), 1);
    EXPECT_EQ(w->Doc.GenerationHistory[0].expression, "amp");
    EXPECT_EQ(w->Doc.SaveState, 0);
}

TEST_F(ExpressionDialogTest, AZoomedWindowOffersItsVisibleValueRange) {
    TWFMform* w = stored(100);
    w->Zoomed = 1;
    w->ViewFirst = 10;
    w->ViewLast = 50;
    w->ViewMin = -301;
    w->ViewMax = 900;
    expression([&](TExpressionForm& d) {
        EXPECT_EQ(d.Amplitude->text().toStdString(), "1201");
        EXPECT_EQ(d.Offset->text().toStdString(), "299") << "-301 + 1201 / 2, truncated";
        EXPECT_EQ(w->MarkerAmplitude, 600);
        EXPECT_EQ(w->MarkerOffset, 299);
        d.BCancel->click();
    });
}

TEST_F(ExpressionDialogTest, AWaveformGeneratedOverABitPatternGetsTheWaveformMenus) {
    TWFMform* w = stored(16);
    w->Doc.FileType = WaveFileType::BitPattern;
    w->Doc.IsBitPattern = 1;
    w->UpdateTypeMenus();
    TWaveMenus* m = PWForm1->WaveMenus;
    ASSERT_TRUE(m->EditBitPattern1->isEnabled());
    expression([&](TExpressionForm& d) {
        d.EdExpr->setText("amp*sin(omg*t)");
        d.BOK->click();
    });
    EXPECT_EQ(w->Doc.FileType, WaveFileType::Internal);
    EXPECT_FALSE(m->EditBitPattern1->isEnabled()) << "a waveform is not edited as a pattern";
    EXPECT_TRUE(m->Verticaladjust1->isEnabled());
    EXPECT_TRUE(m->Amplitudetomaxpkpk1->isEnabled());
}

TEST_F(ExpressionDialogTest, BoxesOfAPreviewAreNotCoveredByTheProgressWindow) {
    struct Row {
        const char* expression;
        const char* box; // the start of the box's text
    };
    for (const Row& row :
         {Row{"sin(omg*t", "\nUnmatched parenthesis"}, Row{"amp*2", "Warning\nThe waveform is clipped"}}) {
        stored(1000);
        ui.clear();
        std::vector<bool> progressUp;
        ui.onMessage([&](const platform::UiEvent&) { progressUp.push_back(ExpPregress->isVisible()); });
        expression([&](TExpressionForm& d) {
            d.EdExpr->setText(row.expression);
            d.BPreview->click();
            EXPECT_FALSE(ExpPregress->isVisible()) << row.expression;
        });
        ui.onMessage(nullptr);
        ASSERT_EQ(ui.messages().size(), 1u) << row.expression;
        EXPECT_NE(ui.messages()[0].find(row.box), std::string::npos) << ui.messages()[0];
        EXPECT_EQ(progressUp, std::vector<bool>{false})
            << row.expression << ": the progress window was still up";
    }
}

TEST_F(ExpressionDialogTest, TheClippingWarningStandsOverTheNewTrace) {
    TWFMform* w = stored(1000);
    bool newTraceShown = false;
    ui.onMessage([&](const platform::UiEvent&) {
        processEvents(); // what the box's own event loop paints before the user reads it
        const QImage shown = w->Surface.copy();
        w->FormPaint();
        newTraceShown = w->Surface == shown;
    });
    expression([&](TExpressionForm& d) {
        processEvents();
        d.EdExpr->setText("amp*2");
        d.BPreview->click();
        d.BCancel->click();
    });
    ui.onMessage(nullptr);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Warning\nThe waveform is clipped\n"});
    EXPECT_TRUE(newTraceShown);
}
