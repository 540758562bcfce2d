#include "synthesis/forms/expression.h"

#include "platform/numeric_field.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "synthesis/forms/Pregress.h"
#include "workspace/forms/frame_host.h"
#include "workspace/forms/wfmchild.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

using namespace plotwell;
using workspace::WaveFileType;

// ---- generation -----------------------------------------------------------------------

namespace {

class WindowSink : public synthesis::GenerationSink {
public:
    explicit WindowSink(TWFMform& target) : target_(target) {}
    void message(const std::string& text, Box icon) override {
        // The progress window stays on top and would hide the box and its OK button behind a
        // stale bar: it goes before the user is asked anything. A run that goes on after a
        // box shows it again with its next pass.
        if (ExpPregress)
            ExpPregress->Finish();
        // The expression was handed over one byte per character (Latin-1); the boxes take UTF-8.
        const std::string shown = QString::fromLatin1(text.data(), qsizetype(text.size())).toStdString();
        platform::ui().message(shown, icon == Box::Warning ? platform::Icon::Warning : platform::Icon::Error,
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
    void written() override { target_.ShowChangedSamples(); }

private:
    TWFMform& target_;
};

} // namespace

void TExpressionForm::GenerateWaveform(TWFMform* target) {
    if (!target)
        return;
    const int32_t start = startField_->intValue();
    const int32_t end = endField_->intValue();
    // One byte per character, so that the error marker counts characters.
    const QByteArray text = Expr->currentText().toLatin1();

    workspace::SampleStream none;
    workspace::SampleStream& samples = target->Doc.SampleStream ? *target->Doc.SampleStream : none;
    // wfm() of the target reads it as it was before the dialog opened; without a copy from
    // the driver, as it was before this run.
    workspace::SampleStream runCopy;
    const workspace::SampleStream* before = &SavedSamples;
    if (SavedSamples.empty()) {
        runCopy = samples;
        before = &runCopy;
    }
    synthesis::WaveformDirectory waveforms;
    if (FrameHost) {
        for (TWFMform* w : FrameHost->WaveWindows()) {
            synthesis::WaveformView view;
            if (w == target)
                view = {before, target->Doc.SelectionStart, target->Doc.SelectionEnd};
            else
                view = {w->Doc.SampleStream.get(), w->Doc.SelectionStart, w->Doc.SelectionEnd};
            waveforms.add(platform::fileNameOnly(w->Doc.WaveName), view);
        }
    }

    WindowSink sink(*target);
    synthesis::generateWaveform(*this, std::string_view(text.constData(), std::size_t(text.size())), start,
                                end, samples, &waveforms, sink);
}

// ---- dialog ---------------------------------------------------------------------------

namespace {
// A key that types a character (the keys a key-press filter sees).
bool typesCharacter(const QKeyEvent* k) {
    const QString t = k->text();
    return !t.isEmpty() && t[0].isPrint();
}
// The expression line takes at most this many typed characters; text set by the program
// is not cut.
bool full(const QLineEdit* e, int limit) {
    return e->text().size() >= limit && !e->hasSelectedText();
}
} // namespace

TWFMform* TExpressionForm::window() const {
    if (Target)
        return Target;
    return FrameHost ? FrameHost->DriverTarget() : nullptr;
}

DriverFields TExpressionForm::driverFields() {
    return {&SavedSamples, &StartPoint, &EndPoint, &MidCode, &Changed, nullptr};
}

int TExpressionForm::FormHeight() const {
    return InfoPanel->isVisibleTo(this) ? kTallHeight : kShortHeight;
}

void TExpressionForm::SetFormHeight(int height) {
    InfoPanel->setVisible(height != kShortHeight);
}

bool TExpressionForm::DriverBeforeShow() {
    SetFormHeight(kShortHeight);
    BMoreinfo->setText("More info...");
    Changed = 0;
    Expr->clear();
    if (TWFMform* w = window())
        for (const workspace::GenerationEntry& e : w->Doc.GenerationHistory)
            Expr->addItem(platform::toQString(e.expression));
    Expr->setCurrentIndex(-1);
    return true;
}

// ---- activation -------------------------------------------------------------------------

void TExpressionForm::FormActivate() {
    TWFMform* w = window();
    // The history panel closed, the list of open windows refilled.
    BExitClick();
    WfmList->hide();
    WfmList->clear();
    if (FrameHost)
        for (TWFMform* other : FrameHost->WaveWindows())
            WfmList->addItem(platform::toQString(platform::fileNameOnly(other->Doc.WaveName)));
    // A zoomed window offers its visible value range.
    if (w && w->Zoomed) {
        AmplitudeCodes = w->ViewMax - w->ViewMin;
        OffsetCodes = w->ViewMin + (w->ViewMax - w->ViewMin) / 2;
    } else if (AmplitudeCodes == 0) {
        AmplitudeCodes = 2 * MidCode - 1;
    }
    // An OK keeps the result even without edits.
    Changed = 1;
    Previewed = 0;
    EdExpr->setFocus();
    Expr->setEditText(EdExpr->text());
    RestoreCaret = 1;
    // The fields show the values the dialog starts from.
    offsetField_->show(OffsetCodes);
    amplitudeField_->show(AmplitudeCodes);
    startField_->show(StartPoint);
    endField_->show(EndPoint);
    (LevelMode == 1 ? AutoAdjP : LevelMode == 2 ? AutoAdjPP : AsCalculated)->setChecked(true);
    // The last point of the target.
    LastPoint = w ? w->Doc.PointCount() - 1 : -1;
    // History deletion waits until it is asked for.
    BDelete->setEnabled(false);
    BExit->setEnabled(false);
    BExpDel->setEnabled(true);
    BHelp->setEnabled(true);
    Expr->hidePopup();
    // The preview lines at the offset, half the amplitude above and below.
    if (w) {
        w->MarkerAmplitude = AmplitudeCodes / 2;
        w->MarkerOffset = OffsetCodes;
        w->update();
    }
}

// ---- the numeric fields -------------------------------------------------------------------

void TExpressionForm::FieldClick() {
    WfmList->hide();
    RestoreCaret = 0;
}

void TExpressionForm::FieldChange() {
    Changed = 1;
    Previewed = 0;
}

void TExpressionForm::StartKeyUp() {
    StartPoint = startField_->intValue();
    const int32_t capped = platform::startOnRelease(StartPoint, EndPoint);
    if (capped != StartPoint) {
        StartPoint = capped;
        startField_->show(StartPoint);
    }
}

void TExpressionForm::EndKeyUp() {
    EndPoint = endField_->intValue();
}

void TExpressionForm::AmplitudeKeyUp() {
    AmplitudeCodes = amplitudeField_->intValue();
}

void TExpressionForm::OffsetKeyUp() {
    OffsetCodes = offsetField_->intValue();
}

void TExpressionForm::putBackAndShow() {
    RestoreSnapshot();
    if (TWFMform* w = window()) {
        w->update();
        w->PublishStatus();
    }
}

// Leaving an edited field: the text is read, brought within its limits by `apply`, and
// written back; the window gets its samples back from the snapshot.
void TExpressionForm::exitField(platform::NumericField& field, const std::function<int32_t(int32_t)>& apply) {
    const std::optional<int32_t> typed = field.takeEdit();
    if (!typed)
        return;
    Changed = 1;
    field.show(apply(*typed));
    putBackAndShow();
    // The window no longer shows the last preview, so OK has to generate again.
    Previewed = 0;
}

void TExpressionForm::StartExit() {
    exitField(*startField_, [this](int32_t v) {
        StartPoint = platform::startOnExit(v, LastPoint);
        if (TWFMform* w = window())
            w->Doc.SelectionStart = StartPoint;
        return StartPoint;
    });
}

void TExpressionForm::EndExit() {
    exitField(*endField_, [this](int32_t v) {
        TWFMform* w = window();
        EndPoint = platform::endOnExit(v, w ? w->Doc.SelectionStart : StartPoint, LastPoint);
        if (w)
            w->Doc.SelectionEnd = EndPoint;
        return EndPoint;
    });
}

void TExpressionForm::AmplitudeExit() {
    exitField(*amplitudeField_, [this](int32_t v) {
        AmplitudeCodes = v;
        if (TWFMform* w = window())
            w->MarkerAmplitude = AmplitudeCodes / 2;
        return AmplitudeCodes;
    });
}

void TExpressionForm::OffsetExit() {
    exitField(*offsetField_, [this](int32_t v) {
        OffsetCodes = v;
        if (TWFMform* w = window())
            w->MarkerOffset = OffsetCodes;
        return OffsetCodes;
    });
}

// The expression line and the history drop-down; the numeric fields have their helpers.
bool TExpressionForm::eventFilter(QObject* watched, QEvent* event) {
    const bool expr = watched == Expr || (Expr->lineEdit() && watched == Expr->lineEdit());
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(event);
        if (expr && k->key() != Qt::Key_Escape) {
            // The drop-down is only dropped down, never typed into.
            EdExpr->setFocus();
            return true;
        }
        if (watched == EdExpr && typesCharacter(k)) {
            if (full(EdExpr, 1024))
                return true;
            Changed = 1;
        }
        break;
    }
    case QEvent::FocusIn:
        if (expr || watched == EdExpr)
            RestoreCaret = 1;
        break;
    default:
        break;
    }
    return Form::eventFilter(watched, event);
}

void TExpressionForm::LevelModeClick(int mode) {
    if (mode != LevelMode) {
        Changed = 1;
        Previewed = 0;
    }
    RestoreCaret = 0;
    LevelMode = mode;
}

void TExpressionForm::mouseMoveEvent(QMouseEvent* event) {
    // Ends the busy cursor a run left behind.
    platform::setScreenCursor(platform::ScreenCursor::Default);
    Form::mouseMoveEvent(event);
}

// ---- preview and accept -----------------------------------------------------------------

void TExpressionForm::BPreviewClick() {
    CaretPos = EdExpr->cursorPosition();
    WfmList->hide();
    StartExit();
    EndExit();
    AmplitudeExit();
    OffsetExit();
    Gain = 1.0;
    Shift = 0.0;
    LevelMode = AutoAdjP->isChecked() ? 1 : AutoAdjPP->isChecked() ? 2 : 0;
    Expr->setEditText(EdExpr->text());
    // Every preview starts from the samples as they were when the dialog opened.
    RestoreSnapshot();
    GenerateWaveform(window());
    platform::setScreenCursor(platform::ScreenCursor::Default);
    if (RestoreCaret) {
        EdExpr->setFocus();
        EdExpr->setCursorPosition(CaretPos);
    }
    Previewed = 1;
}

void TExpressionForm::BOKClick() {
    TWFMform* w = window();
    WfmList->hide();
    StartExit();
    EndExit();
    AmplitudeExit();
    OffsetExit();
    if (!Previewed)
        BPreviewClick();
    if (w) {
        w->MarkerAmplitude = 0;
        w->ShowChangedSamples();
    }
    if (ErrorCode != 0)
        return; // the dialog stays open; nothing is recorded
    if (w) {
        // The window now holds a generated waveform of the program's own format.
        w->Doc.FileType = WaveFileType::Internal;
        w->Doc.IsBitPattern = 0;
        w->Doc.GenerationHistory.push_back({Start->text().toStdString(), End->text().toStdString(),
                                            Amplitude->text().toStdString(), Offset->text().toStdString(),
                                            AutoAdjP->isChecked()    ? "1"
                                            : AutoAdjPP->isChecked() ? "2"
                                                                     : "0",
                                            Expr->currentText().toStdString()});
    }
    Changed = 1;
    setModalResult(platform::mrOk);
}

void TExpressionForm::CancelPath() {
    if (TWFMform* w = window())
        w->MarkerAmplitude = 0;
}

void TExpressionForm::BCancelClick() {
    CancelPath();
    setModalResult(platform::mrCancel);
}

// ---- history recall and deletion ----------------------------------------------------------

void TExpressionForm::ExprClick(int index) {
    RestoreCaret = 1;
    TWFMform* w = window();
    if (w && index >= 0 && index < w->Doc.HistoryCount()) {
        const workspace::GenerationEntry& entry = w->Doc.GenerationHistory[size_t(index)];
        Start->setText(platform::toQString(entry.start));
        End->setText(platform::toQString(entry.end));
        Amplitude->setText(platform::toQString(entry.amplitude));
        Offset->setText(platform::toQString(entry.offset));
        StartPoint = startField_->intValue();
        EndPoint = endField_->intValue();
        AmplitudeCodes = amplitudeField_->intValue();
        OffsetCodes = offsetField_->intValue();
        const std::string& mode = entry.levelMode;
        QRadioButton* radio = mode == "0"   ? AsCalculated
                              : mode == "1" ? AutoAdjP
                              : mode == "2" ? AutoAdjPP
                                            : nullptr;
        if (radio) {
            radio->setChecked(true);
        } else {
            // Another text checks none of the three.
            for (QRadioButton* r : {AsCalculated, AutoAdjP, AutoAdjPP})
                r->setAutoExclusive(false), r->setChecked(false), r->setAutoExclusive(true);
        }
        w->Doc.SelectionStart = 0;
        for (platform::NumericField* f : {startField_, endField_, amplitudeField_, offsetField_})
            f->setModified(true);
        // The end first, against start 0, so a recalled range never reaches past the data.
        EndExit();
        StartExit();
        AmplitudeExit();
        OffsetExit();
        Changed = 0;
    }
    EdExpr->setText(Expr->currentText());
    EdExpr->setFocus();
    EdExpr->deselect();
}

void TExpressionForm::BExpDelClick() {
    WfmList->hide();
    PulseHint->hide();
    ExprEditPnl->show();
    BDelete->setEnabled(true);
    BExit->setEnabled(true);
    BExpDel->setEnabled(false);
    BHelp->setEnabled(false);
    Expr->setFocus();
    Expr->showPopup();
}

void TExpressionForm::BExitClick() {
    PulseHint->show();
    ExprEditPnl->hide();
    BDelete->setEnabled(false);
    BExit->setEnabled(false);
    BExpDel->setEnabled(true);
    BHelp->setEnabled(true);
    Expr->hidePopup();
}

void TExpressionForm::BDeleteClick() {
    TWFMform* w = window();
    const int index = Expr->currentIndex();
    if (!w || !w->Doc.EraseHistoryEntry(index))
        return;
    Expr->clear();
    for (const workspace::GenerationEntry& e : w->Doc.GenerationHistory)
        Expr->addItem(platform::toQString(e.expression));
    Expr->setCurrentIndex(-1);
    Expr->showPopup();
    Expr->setEditText(QString());
    w->MarkSamplesChanged();
    Expr->setFocus();
}

// ---- the other buttons ----------------------------------------------------------------------

void TExpressionForm::WfmClick() {
    WfmList->setVisible(!WfmList->isVisible());
}

void TExpressionForm::WfmListClick(QListWidgetItem* item) {
    WfmList->hide();
    if (!item)
        return;
    CaretPos = EdExpr->cursorPosition();
    const QString reference = "wfm(" + item->text() + ")";
    QString text = EdExpr->text();
    text.insert(CaretPos, reference);
    EdExpr->setText(text);
    Expr->setEditText(text);
    EdExpr->setFocus();
    EdExpr->setCursorPosition(CaretPos + int(reference.size()));
}

void TExpressionForm::BHelpClick() {
    platform::ui().showHelp(kHelpContext);
}

void TExpressionForm::BMoreinfoClick() {
    WfmList->hide();
    if (FormHeight() == kShortHeight) {
        SetFormHeight(kTallHeight);
        BMoreinfo->setText("Less info");
    } else {
        SetFormHeight(kShortHeight);
        BMoreinfo->setText("More info...");
        BExitClick();
    }
}
