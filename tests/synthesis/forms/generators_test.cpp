// Each generator from a new window to its codes: the set-up, the dialog from the window's
// Waveform menu, OK, and the codes compared with a computation of the shape in the test.
// Then what each dialog adds to the common behaviour.

#include "app_fixture.h"
#include "workspace/forms/op_test_dialog.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "synthesis/core/expression.h"
#include "synthesis/forms/Gausswave.h"
#include "synthesis/forms/Harmonics.h"

#include "synthesis/forms/Sinc.h"
#include "synthesis/forms/cardiac.h"
#include "synthesis/forms/expression.h"
#include "synthesis/forms/expwave.h"
#include "synthesis/forms/pulse.h"
#include "workspace/forms/wfmchild.h"
#include "workspace/forms/wfmsetup.h"
#include <QTableWidget>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <cmath>
#include <map>

using namespace plotwell;
using synthesis::kExprE;
using synthesis::kExprPi;
using synthesis::kExprTwoPi;

namespace {

constexpr double kAmp = 32767.0; // amp of a full-scale 16-bit waveform

uint16_t code(double v) {
    return uint16_t(std::clamp<long>(32768 + std::lround(v), 0, 65535));
}

class GeneratorsTest : public AppTest {
protected:
    // A new window given `points` points of 16 bits through the set-up, then `item` of its
    // Waveform menu with `script` in the dialog.
    TWFMform* generate(QAction* item, int points, const std::function<void(QDialog&)>& script) {
        TWFMform* w = newWindow();
        ui.onDialog([points](QDialog&) {
            WaveSetup->WfmTitle->setText("gen");
            WaveSetup->WfmAmpl->setText("65536");
            WaveSetup->WfmLen->setText(QString::number(points));
            WaveSetup->BOk->click();
        });
        ui.onDialog(script);
        item->trigger();
        return w;
    }
    static void ok(QDialog& d) { d.findChild<QPushButton*>("BOk")->click(); }
    static std::vector<uint16_t> codes(TWFMform* w) {
        const auto c = w->Doc.SampleStream->codes();
        return {c.begin(), c.end()};
    }
    static std::vector<uint16_t> reference(int points, const std::function<double(int)>& value) {
        std::vector<uint16_t> out;
        for (int t = 0; t < points; ++t)
            out.push_back(code(value(t)));
        return out;
    }
    static void leave(QLineEdit* edit) {
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(edit, &out);
    }
    static void type(QLineEdit* edit, const std::string& keys) {
        for (char c : keys)
            QTest::keyClick(edit, c == '\b' ? Qt::Key_Backspace : Qt::Key(QChar(c).toUpper().unicode()));
    }
    static std::string text(const QLineEdit* e) { return e->text().toStdString(); }
    TWaveMenus& menus() { return *PWForm1->WaveMenus; }
};

} // namespace

TEST_F(GeneratorsTest, EachDefaultShapeGivesTheCodesOfItsFormula) {
    struct Case {
        const char* what;
        QAction* item;
        int points;
        std::function<double(int)> value;
        const char* expression;
    };
    // pulse() of the default times over 100 points: low, up in 10, high for 40, down in 10.
    auto pulse = [](int t) {
        const double p = t <= 10   ? -1
                         : t < 20  ? -1 + 0.2 * (t - 10)
                         : t <= 60 ? 1
                         : t < 70  ? 1 - 0.2 * (t - 60)
                                   : -1;
        return p * 16383 + 16383;
    };
    const Case cases[] = {
        {"triangle", menus().Triangle1, 8,
         [](int t) { return kAmp * std::asin(std::sin(kExprTwoPi / 8 * (t * 1.0))) * 2 / kExprPi; },
         "amp*asin(sin(omg*(t*1.00+per*0.00/360)))*2/pi"},
        {"square", menus().Square1, 10, [](int t) { return t < 5 ? kAmp : -kAmp; },
         "amp*pulse(0,0,50.00,0,1.00)"},
        {"pulse", menus().Pulse1, 100, pulse, "pulse(10.00,10.00,40.00,10.00,1.00)*16383+16383"},
        {"sinc", menus().Sinc1, 1000,
         [](int t) {
             const double x = kExprPi * (1.0 / 1000) * (std::pow(10.0, -9) + t - 1000 * 180.0 / 360) * 20;
             return kAmp * std::sin(x) / x;
         },
         "+amp*sin(pi*f*(10^-9+t-per*180.00/360)*20)/(pi*f*(10^-9+t-per*180.00/360)*20)"},
        {"exponential", menus().Exponent1, 1000, [](int t) { return kAmp * std::exp(-t / 200.0); },
         "+amp*exp(-t/200)"},
        {"gaussian", menus().Gausian1, 1000,
         [](int t) { return kAmp * std::pow(kExprE, -((t - 500.0) * (t - 500.0)) / 2500.0); },
         "+amp*e^(-(t-per/2)^2/(50^2))"},
        {"harmonics", menus().HarmonicsGenerator1, 8,
         [](int t) { return kAmp * std::sin(kExprTwoPi / 8 * t); }, "amp*1.00*sin(omg*(t*1+per*0.00/360))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TWFMform* w = generate(c.item, c.points, ok);
        EXPECT_EQ(codes(w), reference(c.points, c.value));
        ASSERT_EQ(w->Doc.HistoryCount(), 1);
        EXPECT_EQ(w->Doc.GenerationHistory[0].expression, c.expression);
        EXPECT_EQ(w->Doc.FileType, workspace::WaveFileType::Internal);
        EXPECT_EQ(w->MarkerAmplitude, 0);
        EXPECT_TRUE(ui.messages().empty());
    }
}

TEST_F(GeneratorsTest, NoiseContinuesTheRandomSequence) {
    synthesis::ExpressionRandom next = ExpressionForm->Random;
    TWFMform* w = generate(menus().Noise1, 8, ok);
    EXPECT_EQ(codes(w), reference(8, [&](int) { return kAmp * next.value(); }));
    TWFMform* again = generate(menus().Noise1, 8, ok);
    EXPECT_EQ(codes(again), reference(8, [&](int) { return kAmp * next.value(); }));
}

TEST_F(GeneratorsTest, CardiacBeatsLieWhereTheyShould) {
    TWFMform* w = generate(menus().Cardiac1, 1000, [](QDialog& d) {
        auto& c = dynamic_cast<TCardiacForm&>(d);
        std::string shown;
        for (QLineEdit* e : c.Percent)
            shown += text(e) + " ";
        EXPECT_EQ(shown, "20.00 10.00 10.00 5.00 50.00 20.00 20.00 10.00 100.00 30.00 25.00 ");
        EXPECT_EQ(text(c.Cycles), "1.00");
        EXPECT_FALSE(c.AddUwave->isChecked());
        ok(d);
    });
    // Codes of a separate model of ecg() with the default timings.
    const std::map<int, uint16_t> expected = {
        {0, 32768},   {150, 32768}, {200, 38823}, {216, 39321}, {350, 32768}, {366, 29697},
        {383, 47153}, {399, 64454}, {400, 65535}, {416, 45088}, {433, 23364}, {450, 32768},
        {716, 38515}, {783, 40960}, {849, 32961}, {850, 32768}, {999, 32768}};
    for (const auto& [t, c] : expected)
        EXPECT_EQ(w->Doc.SampleStream->code(size_t(t)), c) << "point " << t;
    EXPECT_EQ(w->Doc.GenerationHistory.at(0).expression,
              "amp*ecg(20.00,10.00,10.00,5.00,50.00,20.00,20.00,10.00,100.00,30.00,25.00,0.00,1.00)");
}

TEST_F(GeneratorsTest, HarmonicsSumTheEnabledRowsAtTheChosenLevel) {
    TWFMform* w = generate(menus().HarmonicsGenerator1, 8, [](QDialog& d) {
        auto& h = dynamic_cast<THarmonicsForm&>(d);
        EXPECT_EQ(h.StringGrid1->item(0, 0)->text(), "Harmonic");
        EXPECT_EQ(h.StringGrid1->item(0, 2)->text(), "Phase");
        h.CheckBox[1]->setChecked(true);
        h.AmplitudeEdit[1]->setText("1.00");
        h.RadioButton1->setChecked(true);
        ok(d);
    });
    EXPECT_EQ(codes(w), (std::vector<uint16_t>{32768, 65535, 51962, 27146, 32768, 38390, 13574, 1}));
    ASSERT_EQ(w->Doc.HistoryCount(), 1);
    EXPECT_EQ(w->Doc.GenerationHistory[0].start, "0");
    EXPECT_EQ(w->Doc.GenerationHistory[0].end, "7");
    EXPECT_EQ(w->Doc.GenerationHistory[0].amplitude, "65535");
    EXPECT_EQ(w->Doc.GenerationHistory[0].offset, "0");
    EXPECT_EQ(w->Doc.GenerationHistory[0].levelMode, "2");
    EXPECT_EQ(w->Doc.GenerationHistory[0].expression,
              "amp*1.00*sin(omg*(t*1+per*0.00/360)) + amp*1.00*sin(omg*(t*2+per*0.00/360))");
    EXPECT_EQ(ExpressionForm->ExprText, w->Doc.GenerationHistory[0].expression) << "evaluated whole";
}

namespace {

// Where `text` is drawn on `form` as a heading (a label or a cell of a string grid), in the
// form's coordinates; an empty rectangle when it is not shown.
QRect drawnHeading(QWidget& form, const QString& text) {
    for (QLabel* l : form.findChildren<QLabel*>())
        if (l->isVisible() && l->text() == text) {
            const QRect r = QStyle::alignedRect(l->layoutDirection(), l->alignment(),
                                                l->fontMetrics().size(0, text), l->contentsRect());
            return r.translated(l->mapTo(&form, QPoint(0, 0)));
        }
    for (QTableWidget* grid : form.findChildren<QTableWidget*>())
        if (grid->isVisible())
            for (QTableWidgetItem* item : grid->findItems(text, Qt::MatchExactly)) {
                const int align =
                    item->textAlignment() ? item->textAlignment() : Qt::AlignLeft | Qt::AlignVCenter;
                const QRect cell = grid->visualItemRect(item).adjusted(3, 0, -3, 0);
                const QRect r = QStyle::alignedRect(grid->layoutDirection(), Qt::Alignment(align),
                                                    grid->fontMetrics().size(0, text), cell);
                return r.translated(grid->viewport()->mapTo(&form, QPoint(0, 0)));
            }
    return {};
}

// The part of a row's control that the user sees as its column: a check box's box, another
// control whole.
QRect drawnControl(QWidget& form, QWidget* control) {
    QRect r = control->rect();
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        QStyleOptionButton option;
        option.initFrom(box);
        r = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    }
    return r.translated(control->mapTo(&form, QPoint(0, 0)));
}

bool withinColumns(int x, const QRect& r) {
    return x >= r.left() && x <= r.right();
}

} // namespace

// Each column heading stands over its own column: the middle of the heading lies over the
// column's controls, and the middle of the controls under the heading; also when the user
// makes the dialog wider.
TEST_F(GeneratorsTest, HarmonicsHeadingsStandOverTheirColumns) {
    TWFMform* w = newWindow();
    giveData(w, 16, 0, 32768);
    ui.onDialog([&](QDialog& d) {
        auto& h = dynamic_cast<THarmonicsForm&>(d);
        const std::pair<const char*, int> columns[] = {
            {"Harmonic", 0}, {"Amplitude", 1}, {"Phase", 2}, {"Enabled", 3}};
        for (const int width : {h.width(), 2 * h.width()}) {
            h.resize(width, h.height());
            processEvents();
            for (const auto& [heading, column] : columns) {
                SCOPED_TRACE(std::string(heading) + " in a dialog " + std::to_string(h.width()) + " wide");
                const QRect text = drawnHeading(h, heading);
                ASSERT_FALSE(text.isEmpty());
                for (int k : {0, THarmonicsForm::kRows - 1}) {
                    QWidget* controls[] = {h.ComboBox[k], h.AmplitudeEdit[k], h.PhaseEdit[k], h.CheckBox[k]};
                    const QRect control = drawnControl(h, controls[column]);
                    const std::string where = "heading " + std::to_string(text.left()) + ".." +
                                              std::to_string(text.right()) + ", row " +
                                              std::to_string(k + 1) + " " + std::to_string(control.left()) +
                                              ".." + std::to_string(control.right());
                    EXPECT_LT(text.bottom(), control.top()) << where;
                    EXPECT_TRUE(withinColumns(text.center().x(), control)) << where;
                    EXPECT_TRUE(withinColumns(control.center().x(), text)) << where;
                }
            }
        }
        h.BCancel->click();
    });
    PWForm1->WaveMenus->HarmonicsGenerator1->trigger();
}

// Nothing else the dialog shows lies over a column heading, so the user reads each heading
// whole: neither a control of the rows nor a component left out of the layout.
TEST_F(GeneratorsTest, NothingShownCoversAHarmonicsHeading) {
    TWFMform* w = newWindow();
    giveData(w, 16, 0, 32768);
    ui.onDialog([&](QDialog& d) {
        auto& h = dynamic_cast<THarmonicsForm&>(d);
        const auto inDialog = [&h](const QWidget* widget) {
            return QRect(widget->mapTo(&h, QPoint(0, 0)), widget->size());
        };
        for (const char* heading : {"Harmonic", "Amplitude", "Phase", "Enabled"}) {
            SCOPED_TRACE(heading);
            const QLabel* label = nullptr;
            for (const QLabel* l : h.findChildren<QLabel*>())
                if (l->isVisible() && l->text() == QLatin1String(heading))
                    label = l;
            ASSERT_NE(label, nullptr);
            const QRect area = inDialog(label);
            for (const QWidget* other : h.findChildren<QWidget*>()) {
                // What holds the heading stands behind it, not over it. A widget is drawn within
                // its parent, so the outermost ones beside the heading's holders are enough.
                if (!other->isVisible() || other == label || other->isAncestorOf(label) ||
                    !other->parentWidget()->isAncestorOf(label))
                    continue;
                const QRect r = inDialog(other);
                EXPECT_FALSE(r.intersects(area))
                    << other->metaObject()->className() << " \"" << other->objectName().toStdString()
                    << "\" at " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height()
                    << " over the heading at " << area.x() << "," << area.y() << " " << area.width() << "x"
                    << area.height();
            }
        }
        h.BCancel->click();
    });
    PWForm1->WaveMenus->HarmonicsGenerator1->trigger();
    EXPECT_TRUE(ui.scriptUsedUp()) << "the dialog was not shown";
}

TEST_F(GeneratorsTest, HarmonicsRangeIsClampedAndANonNumberRefused) {
    TWFMform* w = newWindow();
    giveData(w, 100, 0, 32768);
    w->Zoomed = 0;
    HarmonicsForm->MarkerOffsetCodes = 1234; // left from a zoomed use
    ui.onDialog([&](QDialog& d) {
        auto& h = dynamic_cast<THarmonicsForm&>(d);
        EXPECT_EQ(w->MarkerAmplitude, 32767);
        EXPECT_EQ(w->MarkerOffset, 0) << "the lines lie about the mid code the generation uses";
        h.CheckBox[0]->setChecked(false);
        h.CheckBox[1]->setChecked(true);
        h.ComboBox[1]->setCurrentIndex(2);
        h.AmplitudeEdit[1]->setText("1.00");
        h.End->setText("9x");
        h.BOk->click();
        EXPECT_TRUE(h.isVisible());
        EXPECT_EQ(ui.lastMessage(), "The end point \"9x\" is not a number.");
        h.Start->setText("500");
        h.End->setText("-3");
        h.BPreview->click();
        h.Start->setText("7"); // typed over after the preview, which OK keeps
        h.End->setText("x");
        h.BOk->click();
        EXPECT_FALSE(h.isVisible());
    });
    PWForm1->WaveMenus->HarmonicsGenerator1->trigger();
    ASSERT_EQ(w->Doc.HistoryCount(), 1);
    // The history holds the range generated: a start beyond the last point is 0, an end
    // before the start is the start.
    EXPECT_EQ(w->Doc.GenerationHistory[0].start, "0");
    EXPECT_EQ(w->Doc.GenerationHistory[0].end, "0");
    EXPECT_EQ(w->Doc.GenerationHistory[0].expression, " + amp*1.00*sin(omg*(t*3+per*0.00/360))");
    EXPECT_EQ(w->Doc.SampleStream->code(0), 32768);
}

// A number too large to hold stays as typed when its field is left, and Preview and OK
// refuse it, naming the field; the window keeps its samples.
TEST_F(GeneratorsTest, ANumberTooLargeIsRefusedNotCut) {
    const std::string longDecimal(400, '9');
    struct Case {
        QAction* item;
        const char* field;
        std::string typed;
        const char* named;
    };
    const Case cases[] = {
        {menus().Triangle1, "Amplitude", "99999999999", "Amplitude"},
        {menus().Pulse1, "Low", "2147483648", "Low level"},
        {menus().Exponent1, "Timeconst", "99999999999", "Time const."},
        {menus().Sinc1, "Phase", longDecimal, "Start phase"},
        {menus().HarmonicsGenerator1, "Edit3", longDecimal, "Amplitude 2"},
    };
    TWFMform* w = newWindow();
    giveData(w, 100, 0, 32768);
    const auto before = codes(w);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        ui.clear();
        ui.onDialog([&](QDialog& d) {
            auto* edit = d.findChild<QLineEdit*>(c.field);
            edit->selectAll();
            type(edit, c.typed);
            leave(edit);
            EXPECT_EQ(text(edit), c.typed);
            auto* preview = d.findChild<QPushButton*>("BPreview");
            preview->click();
            EXPECT_EQ(ui.lastMessage(), std::string("The number in \"") + c.named + "\" is too large.");
            d.findChild<QPushButton*>("BOk")->click();
            EXPECT_TRUE(d.isVisible()) << "OK refuses it too";
            d.findChild<QPushButton*>("BCancel")->click();
        });
        c.item->trigger();
        EXPECT_EQ(codes(w), before);
    }
}

TEST_F(GeneratorsTest, HarmonicsEditsKeepOnePoint) {
    TWFMform* w = newWindow();
    giveData(w, 16, 0, 32768);
    ui.onDialog([&](QDialog& d) {
        auto& h = dynamic_cast<THarmonicsForm&>(d);
        QLineEdit* a = h.AmplitudeEdit[0];
        a->selectAll();
        type(a, "1.5.2x-");
        EXPECT_EQ(text(a), "1.52");
        leave(a);
        EXPECT_EQ(text(a), "1.52");
        a->end(false);
        type(a, "\b\b\b.7");
        EXPECT_EQ(text(a), "1.7") << "the first point after entering passes; the text had none left";
        leave(a);
        EXPECT_EQ(text(a), "1.70");
        QTest::keyClick(&h, Qt::Key_F1);
        EXPECT_EQ(ui.events().back().text, "10006") << "the generators' help";
        h.BCancel->click();
    });
    PWForm1->WaveMenus->HarmonicsGenerator1->trigger();
    EXPECT_EQ(w->MarkerAmplitude, 0);
}

TEST_F(GeneratorsTest, SincLinesFollowItsShapeAndInvertFlipsThem) {
    TWFMform* w = newWindow();
    giveData(w, 1000, 0, 32768);
    const auto before = codes(w);
    ui.onDialog([&](QDialog& d) {
        auto& s = dynamic_cast<TSincForm&>(d);
        EXPECT_EQ(text(s.Phase), "180.00");
        EXPECT_EQ(text(s.ZeroCross), "20");
        s.Amplitude->selectAll();
        type(s.Amplitude, "1000");
        leave(s.Amplitude);
        EXPECT_EQ(w->MarkerAmplitude, 304);
        EXPECT_EQ(w->MarkerOffset, 195);
        s.BPreview->click();
        EXPECT_NE(codes(w), before);
        s.Invert->click();
        EXPECT_EQ(codes(w), before) << "the preview goes";
        EXPECT_EQ(w->MarkerOffset, -195);
        EXPECT_FALSE(s.Previewed);
        s.BOk->click();
    });
    PWForm1->WaveMenus->Sinc1->trigger();
    EXPECT_EQ(w->Doc.GenerationHistory.at(0).expression,
              "-amp*sin(pi*f*(10^-9+t-per*180.00/360)*20)/(pi*f*(10^-9+t-per*180.00/360)*20)");
    EXPECT_EQ(w->Doc.SampleStream->code(500), 32768 - 499);
}

TEST_F(GeneratorsTest, ExponentialAndGaussianTimeScaleAndLines) {
    struct Case {
        QAction* item;
        const char* scale;
    };
    const Case cases[] = {{menus().Exponent1, "200"}, {menus().Gausian1, "50"}};
    for (const Case& c : cases) {
        TWFMform* w = newWindow();
        giveData(w, 1000, 0, 32768);
        ui.onDialog([&](QDialog& d) {
            auto& g = dynamic_cast<TOneSidedForm&>(d);
            EXPECT_EQ(text(g.Timeconst), c.scale);
            g.Timeconst->selectAll();
            type(g.Timeconst, "\b");
            EXPECT_EQ(text(g.Timeconst), "1") << "an empty time scale shows 1 at once";
            type(g.Timeconst, "0");
            EXPECT_EQ(text(g.Timeconst), "10");
            g.Amplitude->selectAll();
            type(g.Amplitude, "1000");
            leave(g.Amplitude);
            EXPECT_EQ(std::pair(w->MarkerAmplitude, w->MarkerOffset), std::pair(250, 250));
            g.Invert->click();
            EXPECT_EQ(std::pair(w->MarkerAmplitude, w->MarkerOffset), std::pair(250, -250));
            g.Bipolar->click();
            EXPECT_EQ(std::pair(w->MarkerAmplitude, w->MarkerOffset), std::pair(500, 0));
            g.BOk->click();
        });
        c.item->trigger();
        ASSERT_EQ(w->Doc.HistoryCount(), 1);
        EXPECT_EQ(w->Doc.GenerationHistory[0].levelMode, "2");
        EXPECT_TRUE(ExpressionForm->AutoAdjPP->isChecked());
        EXPECT_EQ(w->Doc.GenerationHistory[0].expression.substr(0, 5), "-amp*");
        ExpForm->Bipolar->setChecked(false);
        GaussForm->Bipolar->setChecked(false);
    }
}

TEST_F(GeneratorsTest, PulseLevelsTakeThePlaceOfAmplitudeAndOffset) {
    TWFMform* w = newWindow();
    giveData(w, 100, 0, 32768);
    ui.onDialog([&](QDialog& d) {
        auto& p = dynamic_cast<TPulseForm&>(d);
        EXPECT_FALSE(p.Amplitude->isVisible());
        EXPECT_EQ(text(p.Low), "0");
        EXPECT_EQ(text(p.HighL), "32767");
        EXPECT_EQ(text(p.Delay) + text(p.Rise) + text(p.HighT) + text(p.Fall) + text(p.Cycles),
                  "10.0010.0040.0010.001.00");
        EXPECT_EQ(std::pair(w->MarkerAmplitude, w->MarkerOffset), std::pair(16383, 16383));
        p.Low->setText("100");
        p.Low->end(false);
        type(p.Low, "-");
        EXPECT_EQ(text(p.Low), "-100");
        leave(p.Low);
        EXPECT_EQ(std::pair(w->MarkerAmplitude, w->MarkerOffset), std::pair(16433, 16333));
        p.HighT->setText("100");
        p.Delay->setText("0");
        p.Rise->setText("0");
        p.Fall->setText("0");
        for (QLineEdit* e : {p.HighT, p.Delay, p.Rise, p.Fall})
            leave(e);
        p.BOk->click();
    });
    PWForm1->WaveMenus->Pulse1->trigger();
    EXPECT_EQ(codes(w), std::vector<uint16_t>(100, 32768 + 16333 + 16433));
    ASSERT_EQ(w->Doc.HistoryCount(), 1);
    EXPECT_EQ(w->Doc.GenerationHistory[0].amplitude, "65535");
    EXPECT_EQ(w->Doc.GenerationHistory[0].offset, "0");
}

TEST_F(GeneratorsTest, CardiacUWaveAndNumbersTooLongForAnExpression) {
    TWFMform* w = newWindow();
    giveData(w, 1000, 0, 32768);
    ui.onDialog([&](QDialog& d) {
        auto& c = dynamic_cast<TCardiacForm&>(d);
        c.BPreview->click();
        c.AddUwave->click();
        EXPECT_FALSE(c.Previewed);
        // Pasted numbers bypass the key filter.
        QApplication::clipboard()->setText("1e300");
        for (QLineEdit* e : c.Percent) {
            e->selectAll();
            e->paste();
            leave(e);
        }
        c.BOk->click();
        EXPECT_TRUE(c.isVisible());
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_NE(ui.lastMessage().find("at most 1023 characters"), std::string::npos) << ui.lastMessage();
        for (QLineEdit* e : c.Percent) {
            e->selectAll();
            type(e, "10");
            leave(e);
        }
        c.BOk->click();
        EXPECT_FALSE(c.isVisible());
    });
    PWForm1->WaveMenus->Cardiac1->trigger();
    ASSERT_EQ(w->Doc.HistoryCount(), 1);
    EXPECT_EQ(w->Doc.GenerationHistory[0].expression,
              "amp*ecg(10.00,10.00,10.00,10.00,10.00,10.00,10.00,10.00,10.00,10.00,10.00,1.00,1.00)");

    // Three numbers of 304 characters and one of 47 make the longest expression, 1023.
    ui.onDialog([&](QDialog& d) {
        auto& c = dynamic_cast<TCardiacForm&>(d);
        for (std::size_t i = 0; i < 4; ++i) {
            QApplication::clipboard()->setText(i < 3 ? "1e300" : "1e43");
            c.Percent[i]->selectAll();
            c.Percent[i]->paste();
            leave(c.Percent[i]);
        }
        c.BOk->click();
        EXPECT_FALSE(c.isVisible());
    });
    PWForm1->WaveMenus->Cardiac1->trigger();
    EXPECT_EQ(ui.messages().size(), 1u);
    ASSERT_EQ(w->Doc.HistoryCount(), 2);
    EXPECT_EQ(w->Doc.GenerationHistory[1].expression.size(), 1023u);
}

TEST_F(GeneratorsTest, AZoomedWindowProposesItsBand) {
    TWFMform* w = newWindow();
    giveData(w, 100, 0, 2048);
    w->Zoomed = 1;
    w->ViewMin = -300;
    w->ViewMax = 1001;
    std::map<std::string, std::pair<std::string, std::string>> shown;
    auto look = [&](const char* amplitude, const char* offset) {
        return [&shown, amplitude, offset](QDialog& d) {
            shown[d.objectName().toStdString()] = {text(d.findChild<QLineEdit*>(amplitude)),
                                                   text(d.findChild<QLineEdit*>(offset))};
            d.findChild<QPushButton*>("BCancel")->click();
        };
    };
    ui.onDialog(look("Amplitude", "Offset"));
    menus().Sine1->trigger();
    ui.onDialog(look("Low", "HighL"));
    menus().Pulse1->trigger();
    ui.onDialog([&](QDialog& d) {
        EXPECT_EQ(HarmonicsForm->AmplitudeCodes, 1301);
        EXPECT_EQ(w->MarkerOffset, -300 + 650);
        d.reject();
    });
    menus().HarmonicsGenerator1->trigger();
    EXPECT_EQ(shown["SineForm"], std::pair(std::string("1301"), std::string("350")));
    EXPECT_EQ(shown["PulseForm"], std::pair(std::string("-300"), std::string("1001")));
    EXPECT_EQ(w->MarkerAmplitude, 0);
}
