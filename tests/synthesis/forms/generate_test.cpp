#include "app_fixture.h"

#include "platform/screen_cursor.h"
#include "synthesis/forms/Pregress.h"
#include "synthesis/forms/expression.h"
#include "workspace/forms/wfmchild.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>

using namespace plotwell;
using workspace::SampleStream;

namespace {

class GenerateTest : public AppTest {
protected:
    TWFMform* windowOf(int points, uint16_t reference, uint16_t fill, const char* name) {
        TWFMform* w = newWindow();
        *w->Doc.SampleStream = SampleStream(reference, std::size_t(points), fill);
        w->Doc.WaveName = std::string("/data/") + name;
        w->Doc.SelectionStart = 0;
        w->Doc.SelectionEnd = points - 1;
        return w;
    }
    void request(const char* expr, int start, int end, int amplitude, int offset, int mode) {
        TExpressionForm& f = *ExpressionForm;
        f.Expr->setEditText(expr);
        f.Start->setText(QString::number(start));
        f.End->setText(QString::number(end));
        f.AmplitudeCodes = amplitude;
        f.OffsetCodes = offset;
        f.LevelMode = mode;
        f.Gain = 1.0;
        f.Shift = 0.0;
    }
};

TEST_F(GenerateTest, WritesTheRangeOfTheWindowPassedIn) {
    TWFMform* w = windowOf(1000, 1, 7, "a.wfm");
    ExpressionForm->MidCode = 32768;
    ExpressionForm->SavedSamples = *w->Doc.SampleStream;
    request("amp*sin(omg*t)", 0, 999, 65535, 0, 0);
    ExpressionForm->GenerateWaveform(w);
    EXPECT_EQ(ExpressionForm->ErrorCode, 0);
    EXPECT_EQ(ExpressionForm->Amp, 32767);
    const auto& s = *w->Doc.SampleStream;
    EXPECT_EQ(s.code(0), 32768);
    EXPECT_EQ(s.code(1), 32974);
    EXPECT_EQ(s.code(125), 55938);
    EXPECT_EQ(s.code(250), 65535);
    EXPECT_EQ(s.code(750), 1);
    EXPECT_EQ(s.code(999), 32562);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(ExpPregress->isVisible());
}

TEST_F(GenerateTest, ClippingWarnsOnceAndErrorsShowTheirMessage) {
    TWFMform* w = windowOf(10, 2048, 7, "a.wfm");
    ExpressionForm->MidCode = 2048;
    request("amp", 0, 9, 4095, 100, 0);
    ExpressionForm->GenerateWaveform(w);
    EXPECT_EQ(w->Doc.SampleStream->code(5), 4095);
    ASSERT_EQ(ui.events().size(), 1u);
    EXPECT_EQ(ui.events()[0].text, "Warning\nThe waveform is clipped\n");
    EXPECT_EQ(ui.events()[0].icon, platform::Icon::Warning);

    ui.clear();
    request("1/(t-3)", 2, 8, 4095, 0, 0);
    ExpressionForm->GenerateWaveform(w);
    EXPECT_EQ(ExpressionForm->ErrorCode, 5);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage(), "\nERROR encountered at the ?\n1/(t-3) ? \nDivide by zero\n");
    EXPECT_EQ(ui.events()[0].icon, platform::Icon::Error);
    EXPECT_EQ(w->Doc.SampleStream->code(4), 2048 - 1); // point 2 of the range: 1/(2-3) = -1
    EXPECT_EQ(w->Doc.SampleStream->code(5), 4095);     // left as it was
    EXPECT_FALSE(ExpPregress->isVisible());
}

TEST_F(GenerateTest, AutoLevelRefusalAndMathsBoxOncePerRun) {
    TWFMform* w = windowOf(100, 1, 7, "a.wfm");
    ExpressionForm->MidCode = 32768;
    request("sin(omg*t)", 0, 99, 65535, 20000, 2);
    ExpressionForm->GenerateWaveform(w);
    EXPECT_EQ(ExpressionForm->ErrorCode, 100);
    EXPECT_EQ(ui.lastMessage(),
              "Auto level adjustment is not possible\namplitude/2 + offset > peak amplitude\n");
    EXPECT_EQ(w->Doc.SampleStream->code(0), 7);

    ui.clear();
    request("(t-50)^0.5", 0, 99, 65535, 0, 0);
    ExpressionForm->GenerateWaveform(w);
    EXPECT_EQ(ExpressionForm->ErrorCode, 0);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"pow: DOMAIN error"});
    EXPECT_EQ(w->Doc.SampleStream->code(0), 32768); // NaN gives the mid code
    EXPECT_EQ(w->Doc.SampleStream->code(54), 32770);
}

TEST_F(GenerateTest, WfmReadsOtherWindowsAndTheTargetAsItWasBefore) {
    TWFMform* src = windowOf(4, 2048, 0, "src.wfm");
    src->Doc.SampleStream->setCode(1, 2048);
    src->Doc.SampleStream->setCode(2, 4095);
    src->Doc.SelectionStart = 1;
    src->Doc.SelectionEnd = 2;
    TWFMform* w = windowOf(4, 1, 40000, "target.wfm");
    ExpressionForm->MidCode = 32768;
    ExpressionForm->SavedSamples = *w->Doc.SampleStream;
    request("amp*wfm(src.wfm)", 0, 3, 65535, 0, 0);
    ExpressionForm->GenerateWaveform(w);
    EXPECT_EQ(ExpressionForm->ErrorCode, 0);
    EXPECT_EQ(w->Doc.SampleStream->codes()[0], 32768);
    EXPECT_EQ(w->Doc.SampleStream->codes()[1], 65519);
    EXPECT_EQ(w->Doc.SampleStream->codes()[2], 32768);

    // The target itself: the samples saved before the dialog opened, however often previewed.
    request("wfm(target.wfm)*32768", 0, 3, 65535, 0, 0);
    ExpressionForm->GenerateWaveform(w);
    ExpressionForm->GenerateWaveform(w);
    EXPECT_EQ(w->Doc.SampleStream->codes()[0], 40000);
    EXPECT_EQ(w->Doc.SampleStream->codes()[3], 40000);

    request("wfm(nothere.wfm)", 0, 3, 65535, 0, 0);
    ExpressionForm->GenerateWaveform(w);
    EXPECT_EQ(ExpressionForm->ErrorCode, 14);
}

TEST_F(GenerateTest, RangeIsClampedAndAnEmptyWindowIsRefused) {
    TWFMform* w = windowOf(10, 1, 7, "a.wfm");
    ExpressionForm->MidCode = 32768;
    request("1", 0, 0, 65535, 0, 0);
    ExpressionForm->End->setText("500");
    ExpressionForm->GenerateWaveform(w);
    EXPECT_EQ(ExpressionForm->Per, 10);
    EXPECT_EQ(w->Doc.SampleStream->code(9), 32769);
    EXPECT_EQ(w->Doc.SampleStream->count(), 10);

    TWFMform* empty = newWindow();
    request("1", 0, 5, 65535, 0, 0);
    ExpressionForm->GenerateWaveform(empty);
    EXPECT_EQ(ExpressionForm->ErrorCode, 15);
    EXPECT_LT(empty->Doc.PointCount(), 1);
}

TEST_F(GenerateTest, ANonAsciiCharacterIsMarkedWhereItStandsAndShownAsTyped) {
    TWFMform* w = windowOf(10, 1, 7, "a.wfm");
    ExpressionForm->MidCode = 32768;
    request("", 0, 9, 65535, 0, 0);
    ExpressionForm->Expr->setEditText(QString::fromUtf8("2\xc3\xa9+1"));
    ExpressionForm->GenerateWaveform(w);
    EXPECT_EQ(ExpressionForm->ErrorCode, 4);
    EXPECT_EQ(ExpressionForm->Cursor, 1u);
    EXPECT_EQ(ui.lastMessage(), "\nERROR encountered at the ?\n2 ? \xc3\xa9+1\nOperator expected\n");
    // The busy cursor stays for the caller to restore.
    EXPECT_EQ(platform::screenCursor(), platform::ScreenCursor::Busy);
    platform::setScreenCursor(platform::ScreenCursor::Default);
}

TEST_F(GenerateTest, ProgressSteppedAboutAHundredTimesPerPass) {
    TWFMform* w = windowOf(10000, 1, 7, "a.wfm");
    ExpressionForm->MidCode = 32768;
    request("t", 0, 9999, 65535, 0, 0);
    int steps = 0;
    QObject::connect(ExpPregress->ProgressBar1, &QProgressBar::valueChanged, [&](int v) { steps += v > 0; });
    ExpressionForm->GenerateWaveform(w);
    EXPECT_GE(steps, 95);
    EXPECT_LE(steps, 100);
}

} // namespace

namespace {

TEST_F(GenerateTest, TheProgressWindowStandsInTheMiddleOfTheScreenWithItsBarAtZero) {
    ExpPregress->move(0, 0);
    ExpPregress->ProgressBar1->setValue(40);
    ExpPregress->Start();
    EXPECT_TRUE(ExpPregress->isVisible());
    EXPECT_EQ(ExpPregress->Position(), 0);
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((ExpPregress->geometry().center() - centre).manhattanLength(), 10); // the frame may shift it
    for (int k = 0; k < 101; ++k)
        ExpPregress->StepIt();
    EXPECT_EQ(ExpPregress->Position(), 0); // past the end the bar starts again
    ExpPregress->Finish();
    EXPECT_FALSE(ExpPregress->isVisible());
}

} // namespace
