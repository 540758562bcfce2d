// The new-waveform set-up dialog: its checks, messages, results and key rules.

#include "app_fixture.h"
#include "op_test_dialog.h"

#include "app/Plotdesk.h"
#include "workspace/forms/wfmchild.h"
#include "workspace/forms/wfmsetup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

using plotwell::workspace::WaveFileType;

namespace {

class SetupTest : public AppTest {
protected:
    struct Outcome {
        int result;
        std::vector<std::string> messages;
    };
    // Shows the set-up for a waveform (or a pattern), fills the fields and presses Ok once.
    Outcome run(const std::string& length, const std::string& amplitude, bool pattern = false,
                const std::string& title = "w") {
        TWFMform* w = newWindow();
        w->Doc.PatternRequest = pattern ? 1 : 0;
        ui.clear();
        ui.onDialog([=](QDialog&) {
            WaveSetup->WfmTitle->setText(QString::fromStdString(title));
            WaveSetup->WfmLen->setText(QString::fromStdString(length));
            WaveSetup->WfmAmpl->setText(QString::fromStdString(amplitude));
            WaveSetup->BOk->click();
        });
        const int result = WaveSetup->ShowModal();
        return {result, ui.messages()};
    }
    static void type(QWidget* edit, Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
    }
};

} // namespace

TEST_F(SetupTest, AmplitudeGivesTheReference) {
    const std::vector<std::pair<std::string, int>> cases = {{"4096", 2048}, {"4097", 2048},   {"4", 2},
                                                            {"3", 32768},   {"65536", 32768}, {"0", 32768}};
    for (const auto& [amplitude, reference] : cases) {
        SCOPED_TRACE(amplitude);
        const auto o = run("100", amplitude);
        EXPECT_EQ(o.result, 1);
        EXPECT_TRUE(o.messages.empty());
        EXPECT_EQ(WaveSetup->Reference, reference);
        EXPECT_EQ(WaveSetup->Length, 100);
    }
}

TEST_F(SetupTest, RefusalsKeepTheDialogOpenWithTheirMessage) {
    struct Case {
        std::string length, amplitude, title;
        bool pattern;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"100", "65537", "w", false, "Amplitude error\nMaximum is 65536"},
        {"1048577", "4096", "w", false, "Length error\nMaximum is 1048576 points"},
        {"65536", "4096", "w", true, "Length error\nMaximum is 65535 points"},
        {"100", "4096", "", false, "Title error\na title must be specified"},
        {"1", "4096", "w", false, "Length error\nMinimum is 2 points"},
        {"0", "4096", "w", false, "Length error\nMinimum is 2 points"},
        {"", "4096", "w", true, "Length error\nMinimum is 2 points"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const auto o = run(c.length, c.amplitude, c.pattern, c.title);
        // The dialog stayed open: the unscripted rest of the show cancelled it.
        EXPECT_EQ(o.result, 2);
        ASSERT_EQ(o.messages.size(), 1u);
        EXPECT_EQ(o.messages[0], c.message);
        for (const auto& e : ui.events())
            if (e.kind == "message") {
                EXPECT_EQ(e.icon, plotwell::platform::Icon::Error);
            }
    }
}

TEST_F(SetupTest, TheLongestLengthsAreAccepted) {
    EXPECT_EQ(run("1048576", "4096").result, 1);
    EXPECT_EQ(WaveSetup->Length, 1048576);
    const auto o = run("65535", "99999", true);
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(WaveSetup->Amplitude, 1) << "a pattern's hidden amplitude is not read";
    EXPECT_EQ(WaveSetup->Reference, 32768);
}

TEST_F(SetupTest, PatternModeHidesTheAmplitudeAndNamesItsCaption) {
    TWFMform* w = newWindow();
    w->Doc.PatternRequest = 1;
    ui.onDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "New Bit Patterm Setup");
        EXPECT_FALSE(WaveSetup->WfmAmpl->isVisible());
        EXPECT_FALSE(WaveSetup->StaticText2->isVisible());
    });
    WaveSetup->ShowModal();
    w->Doc.PatternRequest = 0;
    WaveSetup->WfmTitle->setText("left over");
    ui.onDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "New Waveform Setup");
        EXPECT_TRUE(WaveSetup->WfmAmpl->isVisible());
        EXPECT_TRUE(WaveSetup->WfmTitle->text().isEmpty()) << "the title is emptied at each showing";
        EXPECT_EQ(WaveSetup->WfmTitle->maxLength(), 24);
        EXPECT_EQ(WaveSetup->WfmAmpl->maxLength(), 6);
        EXPECT_EQ(WaveSetup->WfmLen->maxLength(), 8);
    });
    WaveSetup->ShowModal();
}

TEST_F(SetupTest, KeyReleaseRule) {
    using R = TWaveSetup::KeyUpResult;
    auto rule = [](const std::string& text, bool digit, int stored) {
        const R r = TWaveSetup::KeyUpRule(text, digit, stored);
        return std::make_pair(r.stored, r.text);
    };
    EXPECT_EQ(rule("123", true, 12), std::make_pair(123, std::string("123")));
    EXPECT_EQ(rule("0", true, 12), std::make_pair(12, std::string("0")));
    EXPECT_EQ(rule("", true, 12), std::make_pair(12, std::string("")));
    EXPECT_EQ(rule("12x", false, 12), std::make_pair(12, std::string("12")));
    EXPECT_EQ(rule("007", true, 12), std::make_pair(7, std::string("7")));

    // Typed into the dialog: a letter disappears and the number before it comes back.
    newWindow();
    ui.onDialog([](QDialog&) {
        QLineEdit* len = WaveSetup->WfmLen;
        len->setText("");
        type(len, Qt::Key_5, "5");
        type(len, Qt::Key_0, "0");
        EXPECT_EQ(WaveSetup->Length, 50);
        type(len, Qt::Key_X, "x");
        EXPECT_EQ(len->text().toStdString(), "50");
        EXPECT_EQ(WaveSetup->Length, 50);
        len->selectAll();
        type(len, Qt::Key_0, "0");
        EXPECT_EQ(len->text().toStdString(), "0") << "a 0 stays as typed";
        EXPECT_EQ(WaveSetup->Length, 50);
    });
    WaveSetup->ShowModal();
}

TEST_F(SetupTest, CancelClearsIsBitPatternOfTheTarget) {
    TWFMform* w = newWindow();
    w->Doc.IsBitPattern = 1;
    ui.onDialog([](QDialog&) { WaveSetup->BCancel->click(); });
    EXPECT_EQ(WaveSetup->ShowModal(), 2);
    EXPECT_EQ(w->Doc.IsBitPattern, 0);
    // A window that holds a pattern stays one.
    giveData(w, 10);
    w->Doc.FileType = WaveFileType::BitPattern;
    w->Doc.IsBitPattern = 1;
    EXPECT_EQ(WaveSetup->ShowModal(), 2); // unscripted: Escape's path
    EXPECT_EQ(w->Doc.IsBitPattern, 1);
}

TEST_F(SetupTest, TheSetUpActsOnTheCommandingWindowOnly) {
    TWFMform* a = newWindow();
    TWFMform* b = newWindow();
    a->Doc.PatternRequest = 1;
    b->Doc.PatternRequest = 0;
    // b is active and current: the set-up is a waveform set-up for b.
    answerSetUp(ui, "only b", "10");
    PWForm1->NewWaveformSetup();
    EXPECT_EQ(b->Caption(), "New only b (Not Stored)");
    EXPECT_EQ(a->Doc.FileType, WaveFileType::None);
    EXPECT_EQ(a->Caption(), "Untitled");
}

TEST_F(SetupTest, IsAsWideAsTheCaptionOfEitherKind) {
    for (const int pattern : {0, 1}) {
        newWindow()->Doc.PatternRequest = pattern;
        ui.onDialog([](QDialog& d) {
            EXPECT_GE(d.width(), plotwell::platform::captionWidth(d.windowTitle()))
                << d.windowTitle().toStdString();
        });
        WaveSetup->ShowModal();
    }
}
