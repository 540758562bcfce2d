// The sample-maths dialogs driven as a user drives them: through the window's menus, typing
// into the fields, clicking, double-clicking and moving the scroll bars.

#include "app_fixture.h"
#include "workspace/forms/op_test_dialog.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "synthesis/forms/Resize.h"
#include "synthesis/forms/Scalarop.h"
#include "synthesis/forms/Smooth.h"
#include "synthesis/forms/Waveops.h"
#include "synthesis/forms/vertical.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <vector>

using namespace plotwell;
using Codes = std::vector<uint16_t>;

namespace {

const char* const kClipped = "Warning\nThe waveform is clipped\n";

class MathsDialogTest : public AppTest {
protected:
    // A stored window holding `codes` about R, named `name`, all of it selected.
    TWFMform* window(const Codes& codes, uint16_t r = 32768, const std::string& name = "/data/wave.wfm") {
        TWFMform* w = newWindow();
        giveData(w, int(codes.size()), 0, r, name);
        for (size_t i = 0; i < codes.size(); ++i)
            w->Doc.SampleStream->setCode(i, codes[i]);
        return w;
    }
    static Codes codes(const TWFMform* w) {
        const auto c = w->Doc.SampleStream->codes();
        return {c.begin(), c.end()};
    }
    // Runs `item` of the window's menus with `script` in the dialog it opens.
    template <class D> void run(QAction* item, std::function<void(D&)> script) {
        ui.onDialog([script](QDialog& d) { script(dynamic_cast<D&>(d)); });
        item->trigger();
    }
    // Types `keys` over a field's whole text; '\n' is Enter and '\b' backspace.
    static void type(QLineEdit* e, const std::string& keys) {
        e->selectAll();
        for (char c : keys)
            QTest::keyClick(e,
                            c == '\n'   ? Qt::Key_Return
                            : c == '\b' ? Qt::Key_Backspace
                                        : Qt::Key(QChar(c).toUpper().unicode()),
                            Qt::NoModifier);
    }
    static Codes slice(const TWFMform* w, size_t from, size_t to) {
        const auto c = w->Doc.SampleStream->codes();
        return {c.begin() + from, c.begin() + to};
    }
    // Tab to the next control.
    static void leave(QWidget* w) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w, &out);
    }
    TWaveMenus& menus() { return *PWForm1->WaveMenus; }
};

} // namespace

TEST_F(MathsDialogTest, ScalarPreviewOkAndCancel) {
    enum class Finish { Ok, Cancel, EnterInEnd };
    struct Case {
        bool multiply;
        const char* scalar; // typed over Scalar's text, then left; '-' changes the sign
        const char* shown;  // Scalar after leaving it
        const char* start;  // typed into Start and End ("" leaves them)
        const char* end;
        Finish finish;
        Codes want;
        bool clipped;
    } cases[] = {
        {false, "1.75", "1.75", "", "", Finish::Ok, {1, 101, 65535, 40001}, true},
        {false, "0.5-", "-0.50", "", "", Finish::Ok, {0, 100, 65535, 40000}, false},
        // Typed over a negative text, the number stays negative.
        {true, "1", "-1.00", "", "", Finish::Cancel, {65535, 65436, 1, 25536}, true},
        {true, "0", "-0.00", "1", "2", Finish::Ok, {0, 32768, 32768, 40000}, false},
        // Enter on OK from an end typed past the last point: the range ends at the last point.
        {true, "2-", "2.00", "2", "99\n", Finish::EnterInEnd, {0, 100, 65535, 47232}, true},
    };
    const Codes before{0, 100, 65535, 40000};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scalar);
        TWFMform* w = window(before);
        ui.clear();
        bool previewed = false;
        run<TScalaropdlg>(c.multiply ? menus().Multiplybyscalar1 : menus().Addscalar1, [&](TScalaropdlg& d) {
            EXPECT_EQ(d.windowTitle().toStdString(), c.multiply ? "Multiply by scalar" : "Add scalar");
            EXPECT_EQ(d.Operand->text().toStdString(), c.multiply ? "x" : "+");
            EXPECT_EQ(d.Wave1->text().toStdString(), "wave.wfm");
            EXPECT_EQ(d.Start->text().toStdString(), "0");
            EXPECT_EQ(d.End->text().toStdString(), "3");
            type(d.Scalar, c.scalar);
            leave(d.Scalar);
            EXPECT_EQ(d.Scalar->text().toStdString(), c.shown);
            if (*c.start) {
                type(d.Start, c.start);
                leave(d.Start);
            }
            if (c.finish == Finish::EnterInEnd) {
                type(d.End, c.end);
                return;
            }
            if (*c.end) {
                type(d.End, c.end);
                leave(d.End);
            }
            // Preview twice: each computes from the samples as they were.
            d.Preview->click();
            d.Preview->click();
            EXPECT_EQ(codes(w), c.want);
            previewed = true;
            (c.finish == Finish::Ok ? d.OK : d.Cancel)->click();
        });
        const bool kept = c.finish != Finish::Cancel;
        EXPECT_EQ(codes(w), kept ? c.want : before);
        EXPECT_EQ(w->Doc.SaveState, kept ? 1 : 0);
        EXPECT_EQ(w->Caption(), kept ? "/data/wave.wfm (Modified)" : "/data/wave.wfm");
        // One warning per computation that clipped: the two previews and OK's own.
        const size_t warnings = c.clipped ? (previewed ? 2 : 0) + (kept ? 1 : 0) : 0;
        EXPECT_EQ(ui.messages(), std::vector<std::string>(warnings, kClipped));
        w->CloseQueried();
        w->Close1Click();
    }
}

TEST_F(MathsDialogTest, TwoWaveformSourcesAreBoundByDoubleClick) {
    TWFMform* flat = window({32768, 32768, 32768, 32768}, 32768, "/data/flat.wfm");
    TWFMform* other = window({1, 2, 3, 4}, 32768, "/data/other.wfm");
    TWFMform* target = window({40000, 41000, 42000, 43000}, 32768, "/data/target.wfm");
    PWForm1->ActivateWaveWindow(target);
    auto doubleClick = [](QListWidget* list, int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    run<TMathopdlg>(menus().Waveformaddition1, [&](TMathopdlg& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Waveform add");
        EXPECT_EQ(d.Wave3->text().toStdString(), "target.wfm");
        std::vector<std::string> listed;
        for (int i = 0; i < d.WaveList->count(); ++i)
            listed.push_back(d.WaveList->item(i)->text().toStdString());
        EXPECT_EQ(listed, (std::vector<std::string>{"flat.wfm", "other.wfm", "target.wfm"}));
        EXPECT_FALSE(d.OK->isEnabled());
        EXPECT_FALSE(d.Preview->isEnabled());
        d.Help->click();
        ASSERT_EQ(ui.count("help"), 1);
        EXPECT_EQ(ui.events().back().text, "10003");
        // The first double-click fills Wave1, the next Wave2; a click on Wave1 makes it next again.
        doubleClick(d.WaveList, 1);
        EXPECT_EQ(d.Wave1->text().toStdString(), "other.wfm");
        EXPECT_FALSE(d.OK->isEnabled()) << "one source is not enough";
        QTest::mouseClick(d.Wave1, Qt::LeftButton);
        doubleClick(d.WaveList, 0);
        EXPECT_EQ(d.Wave1->text().toStdString(), "flat.wfm");
        EXPECT_TRUE(d.Wave2->text().isEmpty());
        doubleClick(d.WaveList, 2);
        EXPECT_EQ(d.Wave2->text().toStdString(), "target.wfm");
        EXPECT_TRUE(d.OK->isEnabled());
        EXPECT_TRUE(d.Preview->isEnabled());
        // The target starts one point later than the sources: the target read as a source is
        // its snapshot, not the points this pass has just written.
        type(d.Start, "1");
        leave(d.Start);
        d.Preview->click();
        EXPECT_EQ(codes(target), (Codes{40000, 40000, 41000, 42000}));
        d.OK->click();
    });
    EXPECT_EQ(codes(target), (Codes{40000, 40000, 41000, 42000}));
    EXPECT_EQ(target->Doc.SaveState, 1);
    EXPECT_TRUE(ui.messages().empty()) << ui.lastMessage();
    EXPECT_EQ(codes(flat), (Codes{32768, 32768, 32768, 32768}));
    EXPECT_EQ(codes(other), (Codes{1, 2, 3, 4}));

    // A sum that clips warns, unless the fit scales it into the codes.
    for (const bool fit : {false, true}) {
        SCOPED_TRACE(fit);
        giveData(target, 4, 0, 32768, "/data/target.wfm");
        ui.clear();
        run<TMathopdlg>(menus().Waveformaddition1, [&](TMathopdlg& d) {
            EXPECT_TRUE(d.Wave1->text().isEmpty()) << "sources are bound again on each opening";
            doubleClick(d.WaveList, 1);
            doubleClick(d.WaveList, 1);
            d.FitAmpl->setChecked(fit);
            d.OK->click();
        });
        EXPECT_EQ(codes(target), fit ? (Codes{1, 2, 3, 4}) : (Codes{0, 0, 0, 0}));
        EXPECT_EQ(ui.messages(), std::vector<std::string>(fit ? 0 : 1, kClipped));
    }
}

TEST_F(MathsDialogTest, LeavingARangeFieldTakesThePreviewAwayByTheDialogsRule) {
    // The scalar dialog acts on every exit of Start or End; the two-waveform dialog only on
    // the exit of a field the user changed.
    struct Case {
        bool twoWaveforms;
        bool end;          // which field is left
        const char* typed; // typed into it first, its own value; nullptr: left untouched
        bool putBack;      // the window shows the samples as they were, not the preview
    } cases[] = {
        {false, false, nullptr, true}, {false, true, nullptr, true}, {false, false, "0", true},
        {true, false, nullptr, false}, {true, true, nullptr, false}, {true, true, "3", true},
    };
    const Codes before{32868, 32968, 33068, 33168};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.twoWaveforms ? "two waveforms, " : "scalar, ")
                                        << (c.end ? "End " : "Start ") << (c.typed ? c.typed : "untouched"));
        TWFMform* w = window(before);
        const auto previewAndLeave = [&](TPreviewOperationForm& d, QLineEdit* field) {
            d.Preview->click();
            const Codes previewed = codes(w);
            EXPECT_NE(previewed, before);
            if (c.typed)
                type(field, c.typed);
            leave(field);
            EXPECT_EQ(codes(w), c.putBack ? before : previewed);
            EXPECT_EQ(field->text().toStdString(), c.end ? "3" : "0");
            d.Cancel->click();
        };
        if (c.twoWaveforms) {
            run<TMathopdlg>(menus().Waveformaddition1, [&](TMathopdlg& d) {
                // The window is both sources.
                const QPoint row = d.WaveList->visualItemRect(d.WaveList->item(0)).center();
                QTest::mouseClick(d.WaveList->viewport(), Qt::LeftButton, {}, row);
                for (int source = 0; source < 2; ++source)
                    QTest::mouseDClick(d.WaveList->viewport(), Qt::LeftButton, {}, row);
                ASSERT_TRUE(d.Preview->isEnabled());
                previewAndLeave(d, c.end ? d.End : d.Start);
            });
        } else {
            run<TScalaropdlg>(menus().Addscalar1, [&](TScalaropdlg& d) {
                type(d.Scalar, "1000");
                leave(d.Scalar);
                previewAndLeave(d, c.end ? d.End : d.Start);
            });
        }
        w->CloseQueried();
        w->Close1Click();
    }
}

TEST_F(MathsDialogTest, SmoothingApplyAndUndo) {
    Codes spike(40, 0);
    spike[20] = 9;
    TWFMform* w = window(spike);
    run<TSmoothForm>(menus().Smooth1, [&](TSmoothForm& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Smooth wave.wfm");
        EXPECT_EQ(d.Points->text().toStdString(), "7");
        EXPECT_EQ(d.Start->text().toStdString(), "0");
        EXPECT_EQ(d.End->text().toStdString(), "39");
        EXPECT_FALSE(d.BOK->isEnabled());
        EXPECT_FALSE(d.BUndo->isEnabled());
        type(d.Points, "3");
        d.BApply->click();
        EXPECT_TRUE(d.BOK->isEnabled());
        EXPECT_TRUE(d.BUndo->isEnabled());
        EXPECT_EQ(slice(w, 18, 23), (Codes{0, 3, 3, 3, 0}));
        d.BApply->click();
        EXPECT_EQ(slice(w, 18, 23), (Codes{1, 2, 3, 2, 1}));
        d.BUndo->click();
        EXPECT_EQ(codes(w), spike);
        EXPECT_FALSE(d.BOK->isEnabled());
        // An even width goes up by one; Enter in End applies with an end past the last point,
        // brought to the last point first.
        type(d.Points, "8");
        type(d.End, "500\n");
        EXPECT_EQ(d.Points->text().toStdString(), "3") << "a tenth of the 40 points, made odd";
        EXPECT_EQ(slice(w, 18, 23), (Codes{0, 3, 3, 3, 0}));
        d.BOK->click();
    });
    EXPECT_EQ(slice(w, 18, 23), (Codes{0, 3, 3, 3, 0}));
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_EQ(SmoothForm->PointsToAverage, 3) << "the width used is kept for the next use";
}

TEST_F(MathsDialogTest, ResizePreviewCancelAndRefusals) {
    TWFMform* w = window({100, 200, 300, 400});
    w->Doc.SelectionStart = 2;
    run<TResizeForm>(menus().Resize1, [&](TResizeForm& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Resize wave.wfm");
        EXPECT_EQ(d.OldLen->text().toStdString(), "4");
        EXPECT_EQ(d.NewLen->text().toStdString(), "4");
        type(d.NewLen, "8");
        d.BPreview->click();
        EXPECT_EQ(codes(w), (Codes{100, 200, 200, 300, 300, 400, 400, 100}));
        EXPECT_EQ(w->Doc.SelectionEnd, 7);
        EXPECT_EQ(w->Doc.SelectionStart, 2);
        type(d.NewLen, "1");
        d.BPreview->click();
        EXPECT_EQ(codes(w), (Codes{100}));
        EXPECT_EQ(w->Doc.SelectionStart, 0) << "the start is kept within the points";
        d.BCancel->click();
    });
    EXPECT_EQ(codes(w), (Codes{100, 200, 300, 400})) << "Cancel brings the old length back";
    EXPECT_EQ(w->Doc.SelectionEnd, 3);
    EXPECT_EQ(w->Doc.SelectionStart, 2) << "Cancel leaves the start of the selection where it was";
    EXPECT_EQ(w->Doc.SaveState, 0);

    // Lengths the window cannot hold are refused with a message, and OK then stays open.
    for (const char* refused : {"0", "\b", "1048577", "2097152"}) {
        SCOPED_TRACE(refused);
        ui.clear();
        run<TResizeForm>(menus().Resize1, [&](TResizeForm& d) {
            type(d.NewLen, refused);
            d.BPreview->click();
            d.BOk->click();
            EXPECT_TRUE(d.isVisible());
        });
        EXPECT_EQ(ui.messages(),
                  std::vector<std::string>(2, "The new length must be from 1 to 1048576 points."));
        EXPECT_EQ(codes(w), (Codes{100, 200, 300, 400}));
    }
    run<TResizeForm>(menus().Resize1, [&](TResizeForm& d) {
        type(d.NewLen, "1048576");
        d.BOk->click();
    });
    EXPECT_EQ(w->Doc.PointCount(), 1048576);
    EXPECT_EQ(w->Doc.SaveState, 1);
}

TEST_F(MathsDialogTest, VerticalScrollBarsAndInvert) {
    TWFMform* w = window({0, 100, 32768, 65535, 7});
    w->Doc.SelectionEnd = 3;
    // OK without a movement changes nothing.
    run<TVertForm>(menus().Verticaladjust1, [&](TVertForm& d) { d.OK->click(); });
    EXPECT_EQ(w->Doc.SaveState, 0);

    struct Case {
        int offset, amplitude;
        bool invert;
        Codes want;
        const char* top; // the offset bar's top label
    } cases[] = {
        {-100, 0, false, {100, 200, 32868, 65535, 7}, "positive"},
        {0, 0, true, {65535, 65436, 32768, 1, 7}, "negative"},
        {1000, 0, true, {65535, 65535, 33768, 1001, 7}, "negative"},
        {0, -1000, false, {0, 0, 32768, 65535, 7}, "positive"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        run<TVertForm>(menus().Verticaladjust1, [&](TVertForm& d) {
            EXPECT_EQ(d.windowTitle().toStdString(), "Adjust wave.wfm");
            EXPECT_EQ(d.Offset->minimum(), -32767);
            EXPECT_EQ(d.Offset->maximum(), 32767);
            EXPECT_EQ(d.Offset->pageStep(), 3276);
            EXPECT_EQ(d.Label3->text().toStdString(), "positive");
            EXPECT_EQ(d.Label4->text().toStdString(), "negative");
            d.Offset->setValue(c.offset);
            d.Amplitude->setValue(c.amplitude);
            if (c.invert)
                d.Invert->click();
            EXPECT_EQ(d.Label3->text().toStdString(), c.top);
            EXPECT_EQ(codes(w), c.want);
            d.Cancel->click();
        });
        EXPECT_EQ(codes(w), (Codes{0, 100, 32768, 65535, 7}));
    }
    // A step of the bar and OK keep the result; the points outside the selection stay.
    run<TVertForm>(menus().Verticaladjust1, [&](TVertForm& d) {
        d.Offset->triggerAction(QAbstractSlider::SliderSingleStepSub);
        d.OK->click();
    });
    EXPECT_EQ(codes(w), (Codes{1, 101, 32769, 65535, 7}));
    EXPECT_EQ(w->Doc.SaveState, 1);
}

TEST_F(MathsDialogTest, ANumberTooLargeToHoldIsRefusedAndStaysAsTyped) {
    const Codes before(40, 100);
    const std::string huge(309, '9'); // beyond the largest double; one digit fewer is not
    struct Case {
        bool smooth; // else the scalar
        std::string typed;
        const char* refusedAs; // the field's name in the message; null: the number is taken
    } cases[] = {
        {true, "2147483647", nullptr},
        {true, "2147483648", "Points to average"},
        {false, huge.substr(1), nullptr},
        {false, huge, "Scalar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.substr(0, 12));
        TWFMform* w = window(before);
        ui.clear();
        std::string shown;
        bool open = false, focused = false;
        const auto work = [&](QDialog& d, QLineEdit* field, QPushButton* compute, QPushButton* ok) {
            type(field, c.typed);
            leave(field);
            shown = field->text().toStdString();
            compute->click();
            ok->click();
            open = d.isVisible();
            focused = d.focusWidget() == field;
            if (open)
                d.reject();
        };
        if (c.smooth) {
            run<TSmoothForm>(menus().Smooth1, [&](TSmoothForm& d) {
                d.BApply->click(); // OK is enabled from here on
                work(d, d.Points, d.BApply, d.BOK);
            });
        } else {
            run<TScalaropdlg>(menus().Addscalar1,
                              [&](TScalaropdlg& d) { work(d, d.Scalar, d.Preview, d.OK); });
        }
        EXPECT_EQ(open, c.refusedAs != nullptr);
        if (c.refusedAs) {
            // Both the computation and OK refuse it, with the field named as the generators name theirs.
            const std::string refusal = std::string("The number in \"") + c.refusedAs + "\" is too large.";
            EXPECT_EQ(ui.messages(), std::vector<std::string>(2, refusal));
            EXPECT_EQ(shown, c.typed);
            EXPECT_TRUE(focused);
            EXPECT_EQ(codes(w), before);
        } else if (c.smooth) {
            EXPECT_EQ(shown, c.typed);
            EXPECT_EQ(SmoothForm->PointsToAverage, 3) << "a tenth of the 40 points, made odd";
        }
        w->CloseQueried();
        w->Close1Click();
    }
}
