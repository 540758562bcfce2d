#include "synthesis/forms/expression.h"

#include "platform/posix/folders.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "synthesis/forms/Pregress.h"
#include "workspace/core/numtext.h"
#include "workspace/forms/Plotdesk.h"
#include "workspace/forms/WorldView.h"
#include "workspace/forms/wfmchild.h"

#include <QComboBox>
#include <QLineEdit>

using namespace plotwell;

TExpressionForm* ExpressionForm = nullptr;

TExpressionForm::TExpressionForm(QWidget* parent) : Form("ExpressionForm", parent) {
    Start = new QLineEdit(this);
    platform::nameInput(Start, "Start");
    End = new QLineEdit(this);
    platform::nameInput(End, "End");
    Expr = new QComboBox(this);
    Expr->setEditable(true);
    platform::nameInput(Expr, "Expr");
}

// ---- generation -----------------------------------------------------------------------

namespace {

// "The integer value of the text": blanks, then an optional sign and leading digits; 0
// when there are none.
int32_t leadingInt(const QString& text) {
    const std::string s = text.toStdString();
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    return workspace::parseIntPrefix(std::string_view(s).substr(i)).value_or(0);
}

class WindowSink : public synthesis::GenerationSink {
public:
    void message(const std::string& text, Box icon) override {
        platform::ui().message(text, icon == Box::Warning ? platform::Icon::Warning : platform::Icon::Error,
                               platform::ButtonOk, false);
    }
    void progressShow() override {
        if (ExpPregress)
            ExpPregress->Start();
    }
    void progressStep() override {
        if (ExpPregress)
            ExpPregress->StepIt();
    }
    void progressClose() override {
        if (ExpPregress)
            ExpPregress->Finish();
    }
    void busy() override { platform::setScreenCursor(platform::ScreenCursor::Busy); }
};

} // namespace

void TExpressionForm::GenerateWaveform(TWFMform* target) {
    if (!target)
        return;
    const int32_t start = leadingInt(Start->text());
    const int32_t end = leadingInt(End->text());
    // One byte per character, so that the error marker counts characters.
    const QByteArray text = Expr->currentText().toLatin1();

    workspace::SampleStream none;
    workspace::SampleStream& samples = target->SampleStream ? *target->SampleStream : none;
    // wfm() of the target reads it as it was before the dialog opened; without a copy from
    // the driver, as it was before this run.
    workspace::SampleStream runCopy;
    const workspace::SampleStream* before = &SavedSamples;
    if (SavedSamples.empty()) {
        runCopy = samples;
        before = &runCopy;
    }
    synthesis::WaveformDirectory waveforms;
    if (PWForm1) {
        for (TWFMform* w : PWForm1->WaveWindows()) {
            synthesis::WaveformView view;
            if (w == target)
                view = {before, target->SelectionStart, target->SelectionEnd};
            else
                view = {w->SampleStream.get(), w->SelectionStart, w->SelectionEnd};
            waveforms.add(platform::fileNameOnly(w->WaveName), view);
        }
    }

    WindowSink sink;
    const synthesis::GenerationOutcome outcome = synthesis::generateWaveform(
        *this, std::string_view(text.constData(), std::size_t(text.size())), start, end, samples, &waveforms, sink);
    if (!outcome.written)
        return;
    target->update();
    if (target->Zoomed && World)
        World->update();
    target->PublishStatus();
}
