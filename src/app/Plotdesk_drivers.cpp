// The operation drivers: every dialog that changes a waveform window's samples is run by
// one of them. A driver picks the window, makes sure it has samples, keeps a snapshot,
// prepares and shows the dialog, then keeps the new samples or puts the snapshot back,
// marks the window modified and publishes its status. What each driver does differently
// is one row of the table below.

#include "app/Plotdesk.h"

#include "common/numtext.h"
#include "common/saturate.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "synthesis/forms/BitPattern.h"
#include "synthesis/forms/Gausswave.h"
#include "synthesis/forms/Harmonics.h"
#include "synthesis/forms/Noisewave.h"
#include "synthesis/forms/Pregress.h"
#include "synthesis/forms/Resize.h"
#include "synthesis/forms/Scalarop.h"
#include "synthesis/forms/Sinc.h"
#include "synthesis/forms/Smooth.h"
#include "synthesis/forms/Triangle.h"
#include "synthesis/forms/Waveops.h"
#include "synthesis/forms/cardiac.h"
#include "synthesis/forms/expression.h"
#include "synthesis/forms/expwave.h"
#include "synthesis/forms/pasteops.h"
#include "synthesis/forms/pulse.h"
#include "synthesis/forms/sinewave.h"
#include "synthesis/forms/square.h"
#include "synthesis/forms/vertical.h"
#include "workspace/forms/opdialog.h"
#include "workspace/forms/wfmchild.h"
#include "workspace/forms/wfmsetup.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <initializer_list>
#include <optional>

using namespace plotwell;
using workspace::WaveFileType;
using Driver = TPWForm1::Driver;

namespace {

enum class EmptyWindow { SetUp, Nothing, ClipboardPaste, NoGuard };
enum class Range { None, Full, StartEnd };

struct DriverRow {
    Driver driver;
    EmptyWindow empty;
    const char* caption; // sprintf format with the window's file name; null: none set
    bool wholeCaption;   // the format takes the window's caption instead (paste)
    bool progress;       // the progress window's caption is set too
    Range range;
    std::initializer_list<const char*> edits; // numeric edits marked unmodified
    bool generator;                           // a generator dialog: GeneratedExpr is emptied
};

// clang-format off
const DriverRow kDrivers[] = {
    {Driver::Expression, EmptyWindow::SetUp, "Expression for %s", false, true, Range::Full,
     {"Start", "End", "Amplitude", "Offset"}, false},
    {Driver::Sine, EmptyWindow::SetUp, "Sinewave for %s", false, true, Range::Full,
     {"Start", "End", "Amplitude", "Offset"}, true},
    {Driver::Triangle, EmptyWindow::SetUp, "Triangle wave for %s", false, true, Range::Full,
     {"Start", "End", "Amplitude", "Offset"}, true},
    {Driver::Square, EmptyWindow::SetUp, "Square wave for %s", false, true, Range::Full,
     {"Start", "End", "Amplitude", "Offset"}, true},
    {Driver::Pulse, EmptyWindow::SetUp, "Pulse wave for %s", false, true, Range::Full,
     {"Start", "End", "Low", "HighL", "Delay", "Rise", "HighT", "Fall"}, true},
    {Driver::Cardiac, EmptyWindow::SetUp, "Cardiac wave for %s", false, true, Range::Full,
     {"Start", "End", "Amplitude", "Offset", "PRint", "PRseg", "QRSdur", "VAT", "QTint", "STseg", "Pampl",
      "Qampl", "Rampl", "Sampl", "Tampl"}, true},
    {Driver::Sinc, EmptyWindow::SetUp, "Sinc wave for %s", false, true, Range::Full,
     {"Start", "End", "Amplitude", "Offset", "ZeroCross", "Phase"}, true},
    {Driver::Exponent, EmptyWindow::SetUp, "Exponent wave for %s", false, true, Range::Full,
     {"Start", "End", "Amplitude", "Offset", "Timeconst"}, true},
    {Driver::Gaussian, EmptyWindow::SetUp, "Gaussian wave for %s", false, true, Range::Full,
     {"Start", "End", "Amplitude", "Offset", "Timeconst"}, true},
    {Driver::Noise, EmptyWindow::SetUp, "Random noise for %s", false, true, Range::Full,
     {"Start", "End", "Amplitude", "Offset"}, true},
    {Driver::Harmonics, EmptyWindow::SetUp, nullptr, false, false, Range::Full, {}, true},
    {Driver::ScalarOp, EmptyWindow::SetUp, nullptr, false, false, Range::Full, {"Start", "End"}, false},
    {Driver::MathOp, EmptyWindow::SetUp, nullptr, false, false, Range::Full, {"Start", "End"}, false},
    {Driver::Paste, EmptyWindow::ClipboardPaste, "Paste to %s", true, false, Range::Full, {}, false},
    {Driver::Adjust, EmptyWindow::Nothing, "Adjust %s", false, false, Range::None, {}, false},
    {Driver::Resize, EmptyWindow::Nothing, "Resize %s", false, false, Range::None, {}, false},
    {Driver::Smooth, EmptyWindow::Nothing, "Smooth %s", false, false, Range::StartEnd, {}, false},
    {Driver::EditBitPattern, EmptyWindow::NoGuard, "Bit Pattern for %s", false, false, Range::None, {}, false},
};
// clang-format on

const DriverRow& rowOf(Driver d) {
    for (const DriverRow& r : kDrivers)
        if (r.driver == d)
            return r;
    return kDrivers[0];
}

template <class T> TOperationDialog* operationDialog(T* form) {
    return dynamic_cast<TOperationDialog*>(form);
}

} // namespace

// Everything of a window's document that the new-waveform set-up replaces, so that a
// bit-pattern editor cancelled after a set-up over a waveform can bring the waveform back.
struct TPWForm1::SavedDocument {
    plotwell::workspace::SampleStream samples;
    std::string waveName, caption;
    WaveFileType fileType = WaveFileType::None;
    int32_t saveState = 0, selectionStart = 0, selectionEnd = 0;
    uint8_t isBitPattern = 0, unsignedDisplay = 0;
    std::vector<workspace::GenerationEntry> history;

    explicit SavedDocument(const TWFMform& w)
        : samples(*w.Doc.SampleStream), waveName(w.Doc.WaveName), caption(w.Caption()),
          fileType(w.Doc.FileType), saveState(w.Doc.SaveState), selectionStart(w.Doc.SelectionStart),
          selectionEnd(w.Doc.SelectionEnd), isBitPattern(w.Doc.IsBitPattern),
          unsignedDisplay(w.Doc.UnsignedDisplay), history(w.Doc.GenerationHistory) {}

    void restore(TWFMform& w) const {
        *w.Doc.SampleStream = samples;
        w.Doc.WaveName = waveName;
        w.SetCaption(caption);
        w.Doc.FileType = fileType;
        w.Doc.SaveState = saveState;
        w.Doc.SelectionStart = selectionStart;
        w.Doc.SelectionEnd = selectionEnd;
        w.Doc.IsBitPattern = isBitPattern;
        w.Doc.UnsignedDisplay = unsignedDisplay;
        w.Doc.GenerationHistory = history;
        w.LengthChanged();
    }
};

namespace {
void set(int32_t* field, int32_t value) {
    if (field)
        *field = value;
}
bool changed(const DriverFields& f) {
    return f.Changed && *f.Changed != 0;
}
// The request is over: the snapshot is freed and the dialog forgets the window.
void endRequest(TOperationDialog& dialog, const DriverFields& f) {
    if (f.SavedSamples)
        f.SavedSamples->clear();
    dialog.Target = nullptr;
}

} // namespace

TWFMform* TPWForm1::DriverTarget() const {
    return CurrentWaveWindow ? CurrentWaveWindow : ActiveWaveWindow();
}

// ---- the new-waveform set-up ----------------------------------------------------------

void TPWForm1::NewWaveformSetup() {
    TWFMform* target = DriverTarget();
    if (!target)
        return;
    CurrentWaveWindow = target;
    if (WaveSetup->ShowModal() == platform::mrCancel)
        return; // its answer stays 2 for the caller
    const bool pattern = target->Doc.PatternRequest == 1;
    const int n = WaveSetup->Length;
    const auto r = uint16_t(WaveSetup->Reference);
    // A bit pattern starts all low; a waveform starts on its mid code (the value 0).
    target->Doc.SampleStream = std::make_unique<TWFMform::SampleStreamType>(r, size_t(n), pattern ? 0 : r);
    const std::string title = WaveSetup->WfmTitle->text().toStdString();
    target->SetCaption(pattern ? common::cformat("New %s : Bit Pattern (Not Stored)", title.c_str())
                               : common::cformat("New %s (Not Stored)", title.c_str()));
    target->Doc.WaveName = title;
    target->Doc.SelectionStart = 0;
    target->Doc.SelectionEnd = n - 1;
    target->ShadeStartX = target->ShadeEndX = 0;
    // The history belongs to the data it made; the new data have none.
    target->Doc.GenerationHistory.clear();
    target->Doc.SaveState = 1;
    target->Doc.FileType = WaveFileType::NotFromFile;
    target->Doc.UnsignedDisplay = 0;
    target->Doc.IsBitPattern = pattern ? 1 : 0;
    target->LengthChanged();
    target->update();
    target->PublishStatus();
    if (pattern)
        target->Doc.FileType = WaveFileType::BitPattern;
}

// ---- the common driver ----------------------------------------------------------------

void TPWForm1::RunDriver(Driver driver, TOperationDialog* dialog) {
    if (driver == Driver::EditBitPattern) {
        RunEditBitPattern(dialog, nullptr);
        return;
    }
    const DriverRow& row = rowOf(driver);
    // 1. The target: the window whose command this is.
    TWFMform* target = DriverTarget();
    if (!target || !dialog)
        return;
    CurrentWaveWindow = target;
    // 2. An empty window first gets samples, or ends the request.
    if (target->Doc.FileType == WaveFileType::None) {
        switch (row.empty) {
        case EmptyWindow::SetUp:
            NewWaveformSetup();
            break;
        case EmptyWindow::Nothing:
            return;
        case EmptyWindow::ClipboardPaste:
            target->PasteFromClipboard();
            return;
        case EmptyWindow::NoGuard:
            break;
        }
    }
    // 3. A cancelled set-up ends the request; its answer is put back so that it cannot end
    // a later request.
    if (row.empty == EmptyWindow::SetUp && WaveSetup->result() == platform::mrCancel) {
        WaveSetup->setResult(platform::mrOk);
        return;
    }
    if (!target->Doc.SampleStream || target->Doc.SampleStream->empty())
        return;
    dialog->Target = target;
    // 4. Captions.
    const std::string fileName = platform::fileNameOnly(target->Doc.WaveName);
    if (row.caption)
        dialog->setWindowTitle(platform::toQString(
            common::cformat(row.caption, row.wholeCaption ? target->Caption().c_str() : fileName.c_str())));
    if (row.progress && ExpPregress)
        ExpPregress->setWindowTitle(
            platform::toQString(common::cformat("Evaluating expression for %s", fileName.c_str())));
    if (driver == Driver::Paste && target->Reference == 1)
        target->Reference = 32768;
    dialog->DriverBeforeSnapshot();
    const DriverFields f = dialog->driverFields();
    // 5. The snapshot.
    dialog->TakeSnapshot();
    // 6. Range and scale.
    if (row.range != Range::None) {
        set(f.StartPoint, target->Doc.SelectionStart);
        set(f.EndPoint, target->Doc.SelectionEnd);
    }
    if (row.range == Range::Full)
        set(f.MidCode, target->Doc.SampleStream->midCode());
    // 7. Edit state.
    for (const char* name : row.edits)
        if (auto* edit = dialog->findChild<QLineEdit*>(name))
            edit->setModified(false);
    if (row.generator && f.GeneratedExpr)
        f.GeneratedExpr->clear();
    if (driver == Driver::Expression || driver == Driver::Adjust)
        set(f.Changed, 0);
    bool show;
    {
        // Reading the clipboard into the paste dialog can take a while.
        std::optional<platform::BusyCursor> busy;
        if (driver == Driver::Paste)
            busy.emplace();
        show = dialog->DriverBeforeShow();
        if (show && driver == Driver::Paste)
            if (auto* paste = dynamic_cast<TPasteOptions*>(dialog)) {
                QImage thumbnail(paste->Thumbnail->size(), QImage::Format_RGB32);
                DrawPasteThumbnail(thumbnail, paste->PasteBuffer);
                paste->Thumbnail->setPixmap(QPixmap::fromImage(thumbnail));
            }
    }
    if (!show) {
        endRequest(*dialog, f);
        return;
    }
    // 8. The dialog.
    const int pointsBefore = target->Doc.PointCount();
    const int answer = dialog->ShowModal();
    // The expression dialog and the vertical adjustment keep their Changed for the next look.
    const bool keepsChanged = driver == Driver::Expression || driver == Driver::Adjust;
    if (answer == platform::mrOk) {
        if (changed(f)) {
            // 9. Accepted samples mark a stored window modified, once.
            target->MarkSamplesChanged();
            if (!keepsChanged)
                set(f.Changed, 0);
        } else if (driver == Driver::Expression) {
            // An expression dialog closed without a generation leaves the samples as they were.
            dialog->RestoreSnapshot();
        }
    } else if (answer == platform::mrCancel) {
        // 10. The snapshot goes back, length, selection and all.
        dialog->RevertToSnapshot();
        target->MarkerAmplitude = 0;
        if (driver != Driver::Resize) {
            target->RepaintWithOverview();
        }
    }
    // Accepted samples of another length (a resize, an inserting paste): the zoom and the
    // selection must not point past the new data.
    if (target->Doc.PointCount() != pointsBefore)
        target->LengthChanged();
    // 12. The request is over for the dialog and its snapshot.
    endRequest(*dialog, f);
    if (driver == Driver::Resize)
        target->Doc.SelectionEnd = target->Doc.PointCount() - 1;
    if (driver == Driver::Adjust) {
        // The vertical dialog publishes after each change itself.
        target->update();
        return;
    }
    if (driver == Driver::Resize)
        target->update();
    // 13. The status panel shows the window as it now stands.
    target->PublishStatus();
}

// Word 0 of the buffer (its reference word) is drawn as the first point and the last
// point is left out, as the paste dialog has always shown it.
void TPWForm1::DrawPasteThumbnail(QImage& image, const workspace::SampleStream& buffer) {
    QPainter p(&image);
    p.fillRect(image.rect(), Qt::black);
    if (buffer.empty())
        return;
    const int x0 = 1, y0 = 2;
    const int h = image.height() - 4;
    const int w = ((image.width() - 2) / 10) * 10;
    const int r = buffer.reference();
    const double s = r == 1 ? 65536.0 : 2.0 * r;
    const int64_t m = buffer.count();
    if (m < 1)
        return;
    p.setPen(QPen(QColor(0, 255, 0), 1, Qt::SolidLine));
    // Word k of the buffer: 0 is the reference word, k >= 1 the point k-1.
    auto word = [&buffer](int64_t k) { return k == 0 ? buffer.reference() : buffer.code(size_t(k - 1)); };
    auto y = [&](int64_t k) { return common::toInt32((1.0 - double(word(k)) / s) * h + y0); };
    QPoint pen(x0, y(0));
    int xprev = x0, yprev = pen.y();
    for (int64_t k = 1; k <= m; ++k) {
        const int x = int(int64_t(w) * k / m) + x0;
        if (x - xprev > 1) {
            p.drawLine(pen, QPoint(x, yprev));
            pen = QPoint(x, yprev);
        }
        if (k == m)
            break;
        const int yk = std::max(y(k), y0);
        p.drawLine(pen, QPoint(x, yk));
        pen = QPoint(x, yk);
        xprev = x;
        yprev = yk;
    }
}

// ---- the drivers ----------------------------------------------------------------------

void TPWForm1::ExpressionToWaveform() {
    RunDriver(Driver::Expression, operationDialog(ExpressionForm));
}
void TPWForm1::SineToWaveform() {
    RunDriver(Driver::Sine, operationDialog(SineForm));
}
void TPWForm1::TriangleToWaveform() {
    RunDriver(Driver::Triangle, operationDialog(TriangleForm));
}
void TPWForm1::SquareToWaveform() {
    RunDriver(Driver::Square, operationDialog(SquareForm));
}
void TPWForm1::PulseToWaveform() {
    RunDriver(Driver::Pulse, operationDialog(PulseForm));
}
void TPWForm1::CardiacToWaveform() {
    RunDriver(Driver::Cardiac, operationDialog(CardiacForm));
}
void TPWForm1::SincToWaveform() {
    RunDriver(Driver::Sinc, operationDialog(SincForm));
}
void TPWForm1::ExponentToWaveform() {
    RunDriver(Driver::Exponent, operationDialog(ExpForm));
}
void TPWForm1::GaussianToWaveform() {
    RunDriver(Driver::Gaussian, operationDialog(GaussForm));
}
void TPWForm1::NoiseToWaveform() {
    RunDriver(Driver::Noise, operationDialog(NoiseForm));
}
void TPWForm1::HarmonicsToWaveform() {
    RunDriver(Driver::Harmonics, operationDialog(HarmonicsForm));
}
void TPWForm1::ScalarOpToWaveform() {
    RunDriver(Driver::ScalarOp, operationDialog(Scalaropdlg));
}
void TPWForm1::MathOpToWaveform() {
    RunDriver(Driver::MathOp, operationDialog(Mathopdlg));
}
void TPWForm1::PasteToWaveform() {
    RunDriver(Driver::Paste, operationDialog(PasteOptions));
}
void TPWForm1::AdjustWaveform() {
    RunDriver(Driver::Adjust, operationDialog(VertForm));
}
void TPWForm1::ResizeWaveform() {
    RunDriver(Driver::Resize, operationDialog(ResizeForm));
}
void TPWForm1::SmoothWaveform() {
    RunDriver(Driver::Smooth, operationDialog(SmoothForm));
}

void TPWForm1::EditBitPattern() {
    RunDriver(Driver::EditBitPattern, operationDialog(BitPatternForm));
}

// A new bit pattern, also over a window that holds data. The window's document is kept
// before the set-up replaces it, so that the editor's Cancel brings the old data back.
void TPWForm1::NewBitPattern() {
    NewBitPatternWith(operationDialog(BitPatternForm));
}

void TPWForm1::NewBitPatternWith(TOperationDialog* editor) {
    TWFMform* target = DriverTarget();
    if (!target || !editor)
        return;
    CurrentWaveWindow = target;
    std::unique_ptr<SavedDocument> before;
    if (target->Doc.FileType != WaveFileType::None && target->Doc.SampleStream &&
        !target->Doc.SampleStream->empty())
        before = std::make_unique<SavedDocument>(*target);
    NewWaveformSetup();
    if (WaveSetup->result() == platform::mrCancel) {
        WaveSetup->setResult(platform::mrOk);
        return;
    }
    RunEditBitPattern(editor, before.get());
}

void TPWForm1::RunEditBitPattern(TOperationDialog* editor, const SavedDocument* before) {
    TWFMform* target = DriverTarget();
    if (!target || !editor || !target->Doc.SampleStream || target->Doc.SampleStream->empty())
        return;
    CurrentWaveWindow = target;
    editor->Target = target;
    const std::string fileName = platform::fileNameOnly(target->Doc.WaveName);
    editor->setWindowTitle(
        platform::toQString(common::cformat(rowOf(Driver::EditBitPattern).caption, fileName.c_str())));
    editor->DriverBeforeSnapshot();
    const DriverFields f = editor->driverFields();
    editor->TakeSnapshot();
    if (!editor->DriverBeforeShow()) {
        endRequest(*editor, f);
        return;
    }
    const int answer = editor->ShowModal();
    if (answer == platform::mrOk) {
        if (changed(f)) {
            target->MarkSamplesChanged();
            set(f.Changed, 0);
        }
    } else if (answer == platform::mrCancel) {
        target->Zoomed = 0;
        target->MarkerAmplitude = 0;
        if (before) {
            before->restore(*target);
        } else {
            target->Doc.FileType = WaveFileType::BitPattern;
            editor->RevertToSnapshot();
        }
        target->update();
    }
    endRequest(*editor, f);
    if (answer == platform::mrCancel && before) {
        // The old data are back as they were, kind and save state included.
        target->PublishStatus();
    } else {
        target->Doc.SaveState = 1;
        target->PublishStatus();
        target->Doc.FileType = WaveFileType::BitPattern;
        target->Doc.IsBitPattern = 1;
    }
    // The window may have changed its kind; nothing re-activates it after the editor.
    if (ActiveWaveWindow() == target)
        target->UpdateTypeMenus();
}
