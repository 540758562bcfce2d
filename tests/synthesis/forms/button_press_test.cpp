// A button acts on what its dialog's fields show however it is pressed. A mouse click moves
// the focus to the button first, so the field being edited runs its exit before the button
// acts; a screen reader's press, Enter or a click() from code moves nothing. For every dialog
// whose fields take their value when the caret leaves them, and each of its acting buttons:
// typing into a field and pressing the button (or Enter, for the default button) must come
// out exactly as typing, Tab, and pressing it.

#include "app_fixture.h"
#include "workspace/forms/op_test_dialog.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "synthesis/forms/expression.h"
#include "workspace/forms/wfmchild.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include <functional>
#include <sstream>
#include <vector>

using Codes = std::vector<uint16_t>;

namespace {

constexpr int kPoints = 64;

struct Press {
    QAction* TWaveMenus::*item;
    const char* field;
    // Typed over the field's text; each differs from what the field last held, since a
    // dialog keeps its values from one showing to the next.
    const char* typed;
    const char* button;
    // What the user does in the dialog before typing.
    std::function<void(QDialog&)> before = {};
    // Pressed by Enter in the field, the button being the dialog's default.
    bool enter = false;
};

// What the user can see after a press: the dialog's fields and whether it closed, the window's
// samples then, and after the dialog has gone the window, its last generation and the messages.
struct Outcome {
    std::string dialog;
    Codes during;
    std::string window;
    Codes after;
    std::vector<std::string> messages;
};

class ButtonPressTest : public AppTest {
protected:
    TWFMform* window() {
        return newWindow(
            kPoints, 32768, [](int i) { return uint16_t(30000 + (i * i * 37) % 5000); }, "/data/wave.wfm");
    }
    static Codes codes(const TWFMform* w) {
        const auto c = w->Doc.SampleStream->codes();
        return {c.begin(), c.end()};
    }
    static std::string fields(const QDialog& d) {
        std::ostringstream out;
        for (const QLineEdit* e : d.findChildren<QLineEdit*>())
            out << e->objectName().toStdString() << "=" << e->text().toStdString() << " ";
        out << (d.isVisible() ? "open" : "answered " + std::to_string(d.result()));
        return out.str();
    }
    static std::string state(const TWFMform& w) {
        std::ostringstream out;
        out << w.Caption() << " selection " << w.Doc.SelectionStart << ".." << w.Doc.SelectionEnd << " lines "
            << w.MarkerAmplitude << "/" << w.MarkerOffset << " history " << w.Doc.GenerationHistory.size();
        if (!w.Doc.GenerationHistory.empty()) {
            const auto& g = w.Doc.GenerationHistory.back();
            out << ": " << g.start << " " << g.end << " " << g.amplitude << " " << g.offset << " "
                << g.levelMode << " " << g.expression;
        }
        return out.str();
    }

    Outcome press(const Press& p, bool tabFirst) {
        TWFMform* w = window();
        QApplication::clipboard()->setText("0.5\n-0.25\n0.75\n");
        ui.clear();
        Outcome o;
        ui.onDialog([&](QDialog& d) {
            // A screen reader presses the buttons of the window the user works in.
            d.activateWindow();
            QApplication::setActiveWindow(&d);
            if (p.before)
                p.before(d);
            auto* edit = d.findChild<QLineEdit*>(p.field);
            auto* button = d.findChild<QAbstractButton*>(p.button);
            ASSERT_TRUE(edit && edit->isVisible()) << p.field;
            ASSERT_TRUE(button) << p.button;
            edit->setFocus();
            ASSERT_TRUE(edit->hasFocus());
            const double held = edit->text().toDouble();
            edit->selectAll();
            for (const char c : std::string(p.typed))
                QTest::keyClick(edit, Qt::Key(QChar(c).toUpper().unicode()));
            if (!tabFirst) {
                ASSERT_NE(edit->text().toDouble(), held) << "the typed value is no change";
            }
            ASSERT_TRUE(button->isEnabled()) << p.button;
            if (tabFirst) {
                QTest::keyClick(edit, Qt::Key_Tab);
                ASSERT_FALSE(edit->hasFocus());
            }
            if (p.enter && !tabFirst)
                QTest::keyClick(edit, Qt::Key_Return);
            else
                button->click();
            o.dialog = fields(d);
            o.during = codes(w);
        });
        emit PWForm1->WaveMenus->Edit1->aboutToShow();
        (PWForm1->WaveMenus->*p.item)->trigger();
        o.window = state(*w);
        o.after = codes(w);
        o.messages = ui.messages();
        w->CloseQueried();
        w->Close1Click();
        processEvents();
        return o;
    }
};

// The two-waveform dialog computes with the window itself as both sources.
void bindSources(QDialog& d) {
    auto* list = d.findChild<QListWidget*>("WaveList");
    const QPoint row = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    for (int source = 0; source < 2; ++source)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
}

void expressionText(QDialog&) {
    ExpressionForm->EdExpr->setText("amp*sin(omg*t*3)");
}

// Smooths once over five points before the field is typed into.
void applyFirst(QDialog& d) {
    auto* points = d.findChild<QLineEdit*>("Points");
    points->selectAll();
    QTest::keyClick(points, Qt::Key_5);
    d.findChild<QAbstractButton*>("BApply")->click();
}

} // namespace

TEST_F(ButtonPressTest, AButtonActsOnWhatTheFieldsShowHoweverItIsPressed) {
    using M = TWaveMenus;
    const Press presses[] = {
        {&M::Sine1, "Phase", "45", "BOk"},
        {&M::Sine1, "Cycles", "3", "BPreview"},
        {&M::Sine1, "Offset", "25", "BOk"},
        {&M::Sine1, "Phase", "60", "BDefault"},
        {&M::Triangle1, "Cycles", "2", "BOk"},
        {&M::Triangle1, "Phase", "30", "BPreview"},
        {&M::Square1, "Duty", "20", "BOk"},
        {&M::Square1, "Cycles", "4", "BPreview"},
        {&M::Square1, "Duty", "70", "BDefault"},
        {&M::Pulse1, "HighL", "200", "BOk"},
        {&M::Pulse1, "Rise", "5", "BOk"},
        {&M::Pulse1, "Low", "100", "BPreview"},
        {&M::Pulse1, "Fall", "15", "BDefault"},
        {&M::Sinc1, "Phase", "90", "BOk"},
        {&M::Sinc1, "ZeroCross", "7", "BPreview"},
        {&M::Exponent1, "Timeconst", "7", "BOk"},
        {&M::Gausian1, "Timeconst", "9", "BPreview"},
        {&M::Cardiac1, "Rampl", "70", "BOk"},
        {&M::Cardiac1, "Cycles", "2", "BPreview"},
        {&M::HarmonicsGenerator1, "Edit1", "50", "BOk"},
        {&M::HarmonicsGenerator1, "Edit2", "45", "BPreview"},
        {&M::Expression1, "Offset", "500", "BOK", expressionText},
        {&M::Expression1, "End", "40", "BPreview", expressionText},
        {&M::Paste1, "Amplitude", "1000", "bOK"},
        {&M::Paste1, "End", "40", "bPreview"},
        {&M::SelectLimits1, "xStart", "10", "bnOK"},
        {&M::SelectLimits1, "xEnd", "20", "bnApply"},
        {&M::SelectLimits1, "xStart", "8", "bnOK", nullptr, true},
        {&M::Smooth1, "Points", "9", "BApply"},
        {&M::Smooth1, "End", "30", "BOK", applyFirst},
        {&M::Smooth1, "Start", "3", "BApply", applyFirst, true},
        {&M::Addscalar1, "Scalar", "2.5", "OK"},
        {&M::Multiplybyscalar1, "Scalar", "1.5", "Preview"},
        {&M::Addscalar1, "Start", "10", "Preview"},
        {&M::Multiplybyscalar1, "End", "40", "OK", nullptr, true},
        {&M::Waveformaddition1, "Start", "12", "OK", bindSources},
        {&M::Waveformmultiply1, "End", "50", "Preview", bindSources},
    };
    for (const Press& p : presses) {
        SCOPED_TRACE(testing::Message()
                     << (PWForm1->WaveMenus->*p.item)->text().toStdString() << ": " << p.field << " "
                     << p.typed << ", " << (p.enter ? "Enter for " : "") << p.button);
        // Pressed straight away first: the dialog keeps what a press took in for the next showing.
        const Outcome pressed = press(p, false);
        const Outcome afterTab = press(p, true);
        EXPECT_EQ(pressed.dialog, afterTab.dialog);
        EXPECT_TRUE(pressed.during == afterTab.during) << "the samples after the press differ";
        EXPECT_EQ(pressed.window, afterTab.window);
        EXPECT_TRUE(pressed.after == afterTab.after) << "the samples kept differ";
        EXPECT_EQ(pressed.messages, afterTab.messages);
    }
}

// A press in a dialog that is not the active window (the user has turned to another one) takes
// in the field too: the field lost the focus with the window, which is no exit of its own.
TEST_F(ButtonPressTest, AButtonOfAWindowThatIsNotActiveTakesInTheFieldToo) {
    TWFMform* w = window();
    ui.onDialog([](QDialog& d) {
        auto* phase = d.findChild<QLineEdit*>("Phase");
        phase->setFocus();
        phase->selectAll();
        for (const char c : std::string("45"))
            QTest::keyClick(phase, Qt::Key(c));
        ASSERT_FALSE(d.isActiveWindow());
        d.findChild<QAbstractButton*>("BOk")->click();
        EXPECT_EQ(phase->text().toStdString(), "45.00");
    });
    PWForm1->WaveMenus->Sine1->trigger();
    ASSERT_EQ(w->Doc.GenerationHistory.size(), 1U);
    EXPECT_EQ(w->Doc.GenerationHistory.back().expression, "amp*sin(omg*(t*1.00+per*45.00/360))");
}
