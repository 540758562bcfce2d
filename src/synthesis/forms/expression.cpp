#include "synthesis/forms/expression.h"

#include "common/numtext.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "synthesis/forms/Pregress.h"
#include "workspace/forms/frame_host.h"
#include "workspace/forms/WorldView.h"
#include "workspace/forms/wfmchild.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <iterator>

using namespace plotwell;

TExpressionForm* ExpressionForm = nullptr;

TExpressionForm::TExpressionForm(QWidget* parent) : TOperationDialog("ExpressionForm", parent) {
    Start = new QLineEdit(this);
    platform::nameInput(Start, "Start");
    End = new QLineEdit(this);
    platform::nameInput(End, "End");
    Expr = new QComboBox(this);
    Expr->setEditable(true);
    platform::nameInput(Expr, "Expr");
    buildDialog();
}

// ---- generation -----------------------------------------------------------------------

namespace {

// "The integer value of the text": blanks, then an optional sign and leading digits; 0
// when there are none.
int32_t leadingInt(const QString& text) {
    return common::parseLeadingInt(text.toStdString()).value_or(0);
}

class WindowSink : public synthesis::GenerationSink {
public:
    void message(const std::string& text, Box icon) override {
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
    if (FrameHost) {
        for (TWFMform* w : FrameHost->WaveWindows()) {
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

// ---- dialog ---------------------------------------------------------------------------

namespace {

const char* const kSummary[] = {
    "+  Add", "-  Subtract", "*  Multiply", "/  Divide", "^  Power",
    "sin(x)  cos(x)", "asin(x)  acos(x)", "exp(x)  sqrt(x)", "log(x)  ln(x)", "abs(x)",
    "floor(x)  ceil(x)",
    "pi = 3.141...", "e  =  2.718...", "amp = amplitude/2", "per   = end pt - start pt +1", "f       = 1/per",
    "omg = 2*pi*f", "p or t = point number (or time)", "rnd   = a random number between -1 and +1",
    "wfm(...) = point value from specified waveform", "ecg(...) Cardiac waveform generator",
};

bool isDigitKey(const QKeyEvent* k) {
    const QString t = k->text();
    return t.size() == 1 && t[0] >= '0' && t[0] <= '9';
}
// A key that types a character (the keys a key-press filter sees).
bool typesCharacter(const QKeyEvent* k) {
    const QString t = k->text();
    return !t.isEmpty() && t[0].isPrint();
}
// Fields take at most this many typed characters; text set by the program is not cut.
bool full(const QLineEdit* e, int limit) { return e->text().size() >= limit && !e->hasSelectedText(); }

QString number(int32_t v) {
    return platform::toQString(common::cformat("%d", v));
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    return platform::named(new QPushButton(text, parent), name);
}

} // namespace

void TExpressionForm::buildDialog() {
    Amplitude = new QLineEdit(this);
    platform::nameInput(Amplitude, "Amplitude");
    Offset = new QLineEdit("0", this);
    platform::nameInput(Offset, "Offset");
    EdExpr = new QLineEdit(this);
    platform::nameInput(EdExpr, "EdExpr");
    AsCalculated = new QRadioButton("As calculated", this);
    AutoAdjP = new QRadioButton("Auto adjust peak", this);
    AutoAdjPP = new QRadioButton("Auto adjust pk-pk", this);
    platform::nameInput(AsCalculated, "AsCalculated");
    platform::nameInput(AutoAdjP, "AutoAdjP");
    platform::nameInput(AutoAdjPP, "AutoAdjPP");
    AsCalculated->setChecked(true);
    WfmList = new QListWidget(this);
    platform::nameInput(WfmList, "WfmList");
    WfmList->hide();
    BOK = button(this, "BOK", "OK");
    BCancel = button(this, "BCancel", "Cancel");
    BPreview = button(this, "BPreview", "Preview");
    BLibrary = button(this, "BLibrary", "Library...");
    BMoreinfo = button(this, "BMoreinfo", "More info...");
    BHelp = button(this, "BHelp", "Help");
    BExpDel = button(this, "BExpDel", "Expression del");
    Wfm = button(this, "Wfm", "Wfm(...)");
    for (QPushButton* b : {BOK, BCancel, BPreview, BLibrary, BMoreinfo, BHelp, BExpDel, Wfm})
        b->setAutoDefault(false);

    // The history panel: deleting entries of the drop-down.
    ExprEditPnl = platform::named(new QFrame(this), "ExprEditPnl");
    ExprEditPnl->setFrameShape(QFrame::StyledPanel);
    DelHint = platform::named(
        new QLabel("To clear an expression from the drop down list first select it then click the Delete button",
                   ExprEditPnl),
        "DelHint");
    DelHint->setWordWrap(true);
    BDelete = button(ExprEditPnl, "BDelete", "Delete");
    BExit = button(ExprEditPnl, "BExit", "Exit");
    // Enter in the expression line must not press Delete.
    BDelete->setAutoDefault(false);
    BExit->setAutoDefault(false);
    Delbox = new QComboBox(ExprEditPnl);
    platform::nameInput(Delbox, "Delbox");
    Delbox->hide();
    auto* pnl = new QHBoxLayout(ExprEditPnl);
    pnl->addWidget(DelHint, 1);
    pnl->addWidget(BDelete);
    pnl->addWidget(BExit);
    ExprEditPnl->hide();

    // The summary of the language.
    InfoPanel = platform::named(new QWidget(this), "InfoPanel");
    auto* info = new QGridLayout(InfoPanel);
    info->setContentsMargins(0, 0, 0, 0);
    const int count = int(std::size(kSummary));
    const int rows = (count + 1) / 2;
    for (int i = 0; i < count; ++i)
        info->addWidget(new QLabel(kSummary[i], InfoPanel), i % rows, i / rows);
    PulseHint = platform::named(new QLabel("pulse(dly,rise,hi,fall,cycl) = pulse/ramp generator", InfoPanel),
                                "PulseHint");
    info->addWidget(PulseHint, rows, 0, 1, 2);
    InfoPanel->hide();

    // Layout: the expression and its history above, the range, level and buttons below.
    auto* top = new QVBoxLayout(this);
    auto* exprRow = new QHBoxLayout;
    exprRow->addWidget(new QLabel("Expression", this));
    exprRow->addWidget(EdExpr, 1);
    exprRow->addWidget(Wfm);
    top->addLayout(exprRow);
    auto* historyRow = new QHBoxLayout;
    historyRow->addWidget(new QLabel("History", this));
    historyRow->addWidget(Expr, 1);
    BExpDel->setMinimumWidth(BExpDel->sizeHint().width()); // its caption is never cut
    historyRow->addWidget(BExpDel);
    top->addLayout(historyRow);
    top->addWidget(ExprEditPnl);
    top->addWidget(WfmList);
    auto* middle = new QHBoxLayout;
    auto* fields = new QGridLayout;
    const std::pair<const char*, QLineEdit*> labelled[] = {
        {"Start", Start}, {"End", End}, {"Amplitude", Amplitude}, {"Offset", Offset}};
    int column = 0;
    for (const auto& [text, edit] : labelled) {
        fields->addWidget(new QLabel(text, this), 0, column);
        fields->addWidget(edit, 1, column++);
        edit->setMaximumWidth(80);
    }
    middle->addLayout(fields);
    auto* levels = new QVBoxLayout;
    levels->addWidget(AsCalculated);
    levels->addWidget(AutoAdjP);
    levels->addWidget(AutoAdjPP);
    middle->addLayout(levels);
    top->addLayout(middle);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BOK, BCancel, BPreview, BLibrary, BMoreinfo, BHelp})
        buttons->addWidget(b);
    top->addLayout(buttons);
    top->addWidget(InfoPanel);
    top->setSizeConstraint(QLayout::SetFixedSize);
    setMouseTracking(true);

    for (QLineEdit* e : {Start, End, Amplitude, Offset}) {
        e->installEventFilter(this);
        connect(e, &QLineEdit::textEdited, this, &TExpressionForm::fieldEdited);
    }
    EdExpr->installEventFilter(this);
    Expr->installEventFilter(this);
    if (Expr->lineEdit())
        Expr->lineEdit()->installEventFilter(this);
    connect(EdExpr, &QLineEdit::textChanged, this, [this] {
        Changed = 1;
        Previewed = 0;
    });
    connect(AsCalculated, &QRadioButton::clicked, this, [this] { LevelModeClick(0); });
    connect(AutoAdjP, &QRadioButton::clicked, this, [this] { LevelModeClick(1); });
    connect(AutoAdjPP, &QRadioButton::clicked, this, [this] { LevelModeClick(2); });
    connect(Expr, qOverload<int>(&QComboBox::activated), this, &TExpressionForm::ExprClick);
    connect(BPreview, &QPushButton::clicked, this, &TExpressionForm::BPreviewClick);
    connect(BOK, &QPushButton::clicked, this, &TExpressionForm::BOKClick);
    connect(BCancel, &QPushButton::clicked, this, &TExpressionForm::BCancelClick);
    connect(Wfm, &QPushButton::clicked, this, &TExpressionForm::WfmClick);
    connect(WfmList, &QListWidget::itemClicked, this, &TExpressionForm::WfmListClick);
    connect(BHelp, &QPushButton::clicked, this, &TExpressionForm::BHelpClick);
    connect(BMoreinfo, &QPushButton::clicked, this, &TExpressionForm::BMoreinfoClick);
    connect(BExpDel, &QPushButton::clicked, this, &TExpressionForm::BExpDelClick);
    connect(BExit, &QPushButton::clicked, this, &TExpressionForm::BExitClick);
    connect(BDelete, &QPushButton::clicked, this, &TExpressionForm::BDeleteClick);
}

TWFMform* TExpressionForm::window() const {
    if (Target)
        return Target;
    return FrameHost ? FrameHost->DriverTarget() : nullptr;
}

DriverFields TExpressionForm::driverFields() {
    return {&SavedSamples, &StartPoint, &EndPoint, &MidCode, &Changed, nullptr};
}

int TExpressionForm::FormHeight() const { return InfoPanel->isVisibleTo(this) ? kTallHeight : kShortHeight; }

void TExpressionForm::SetFormHeight(int height) { InfoPanel->setVisible(height != kShortHeight); }

bool TExpressionForm::DriverBeforeShow() {
    SetFormHeight(kShortHeight);
    BMoreinfo->setText("More info...");
    Changed = 0;
    Expr->clear();
    if (TWFMform* w = window())
        for (int i = 0; i < w->HistoryCount && i < int(w->ExprnStore.size()); ++i)
            Expr->addItem(platform::toQString(w->ExprnStore[size_t(i)]));
    Expr->setCurrentIndex(-1);
    return true;
}

// ---- activation -------------------------------------------------------------------------

void TExpressionForm::FormActivate() {
    TWFMform* w = window();
    // 1.
    BExitClick();
    WfmList->hide();
    WfmList->clear();
    if (FrameHost)
        for (TWFMform* other : FrameHost->WaveWindows())
            WfmList->addItem(platform::toQString(platform::fileNameOnly(other->WaveName)));
    // 2. A zoomed window offers its visible value range.
    if (w && w->Zoomed) {
        AmplitudeCodes = w->ViewMax - w->ViewMin;
        OffsetCodes = w->ViewMin + (w->ViewMax - w->ViewMin) / 2;
    } else if (AmplitudeCodes == 0) {
        AmplitudeCodes = 2 * MidCode - 1;
    }
    // 3. An OK keeps the result even without edits.
    Changed = 1;
    Previewed = 0;
    EdExpr->setFocus();
    Expr->setEditText(EdExpr->text());
    RestoreCaret = 1;
    // 4.
    Offset->setText(number(OffsetCodes));
    Amplitude->setText(number(AmplitudeCodes));
    Start->setText(number(StartPoint));
    End->setText(number(EndPoint));
    (LevelMode == 1 ? AutoAdjP : LevelMode == 2 ? AutoAdjPP : AsCalculated)->setChecked(true);
    // 5.
    LastPoint = w ? w->PointCount() - 1 : -1;
    // 6.
    BDelete->setEnabled(false);
    BExit->setEnabled(false);
    BExpDel->setEnabled(true);
    BHelp->setEnabled(true);
    Expr->hidePopup();
    // 7. The preview lines at the offset, half the amplitude above and below.
    if (w) {
        w->MarkerAmplitude = AmplitudeCodes / 2;
        w->MarkerOffset = OffsetCodes;
        w->update();
    }
}

// ---- the numeric fields -------------------------------------------------------------------

void TExpressionForm::fieldEdited() {
    Changed = 1;
    Previewed = 0;
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
void TExpressionForm::exitField(QLineEdit* field, const std::function<int32_t(int32_t)>& apply) {
    if (!field->isModified())
        return;
    field->setModified(false);
    Changed = 1;
    field->setText(number(apply(leadingInt(field->text()))));
    putBackAndShow();
    // The window no longer shows the last preview, so OK has to generate again.
    Previewed = 0;
}

void TExpressionForm::StartExit() {
    exitField(Start, [this](int32_t v) {
        StartPoint = v > LastPoint || v < 0 ? 0 : v;
        if (TWFMform* w = window())
            w->SelectionStart = StartPoint;
        return StartPoint;
    });
}

void TExpressionForm::EndExit() {
    exitField(End, [this](int32_t v) {
        TWFMform* w = window();
        EndPoint = std::max(std::min(v, LastPoint), w ? w->SelectionStart : StartPoint);
        if (w)
            w->SelectionEnd = EndPoint;
        return EndPoint;
    });
}

void TExpressionForm::AmplitudeExit() {
    exitField(Amplitude, [this](int32_t v) {
        AmplitudeCodes = v;
        if (TWFMform* w = window())
            w->MarkerAmplitude = AmplitudeCodes / 2;
        return AmplitudeCodes;
    });
}

void TExpressionForm::OffsetExit() {
    exitField(Offset, [this](int32_t v) {
        OffsetCodes = v;
        if (TWFMform* w = window())
            w->MarkerOffset = OffsetCodes;
        return OffsetCodes;
    });
}

// '-' typed anywhere toggles a leading minus instead of being inserted.
void TExpressionForm::OffsetKeyPress(QKeyEvent* key) {
    if (key->text() == "-") {
        QString t = Offset->text();
        if (t.startsWith('-'))
            t.remove(0, 1);
        else
            t.prepend('-');
        Offset->setText(t);
        Offset->setModified(true);
        fieldEdited();
        return;
    }
    if (Offset->text().startsWith('-'))
        OffsetSignFix = 1;
}

// A digit typed in front of the minus: the minus goes back in front.
void TExpressionForm::OffsetKeyUp() {
    if (OffsetSignFix && !Offset->text().startsWith('-')) {
        QString digits = Offset->text();
        digits.remove('-');
        Offset->setText("-" + digits);
        Offset->setCursorPosition(2);
        Offset->setModified(true);
        fieldEdited();
    }
    OffsetSignFix = 0;
    OffsetCodes = leadingInt(Offset->text());
}

bool TExpressionForm::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const bool numeric = watched == Start || watched == End || watched == Amplitude || watched == Offset;
    const bool expr = watched == Expr || (Expr->lineEdit() && watched == Expr->lineEdit());
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        if (numeric) {
            WfmList->hide();
            RestoreCaret = 0;
            edit->selectAll();
        }
        break;
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(event);
        if (expr && k->key() != Qt::Key_Escape) {
            // The drop-down is only dropped down, never typed into.
            EdExpr->setFocus();
            return true;
        }
        if (watched == EdExpr) {
            if (typesCharacter(k)) {
                if (full(EdExpr, 1024))
                    return true;
                Changed = 1;
            }
            break;
        }
        if (watched == Offset && k->key() == Qt::Key_Backspace) {
            // Backspace passes, but a minus it takes away comes back on release.
            if (Offset->text().startsWith('-'))
                OffsetSignFix = 1;
            break;
        }
        if (!numeric || !typesCharacter(k) || k->key() == Qt::Key_Backspace)
            break;
        if (watched == Offset) {
            if (!isDigitKey(k) && k->text() != "-")
                return true;
            if (isDigitKey(k) && full(Offset, 7))
                return true;
            OffsetKeyPress(k);
            return k->text() == "-";
        }
        if (!isDigitKey(k) || full(edit, 7))
            return true;
        break;
    }
    case QEvent::KeyRelease:
        if (watched == Start) {
            StartPoint = leadingInt(Start->text());
            if (StartPoint != 0 && StartPoint > EndPoint) {
                StartPoint = EndPoint;
                Start->setText(number(StartPoint));
            }
        } else if (watched == End) {
            EndPoint = leadingInt(End->text());
        } else if (watched == Amplitude) {
            AmplitudeCodes = leadingInt(Amplitude->text());
        } else if (watched == Offset) {
            OffsetKeyUp();
        }
        break;
    case QEvent::FocusIn:
        if (expr || watched == EdExpr)
            RestoreCaret = 1;
        break;
    case QEvent::FocusOut:
        if (watched == Start)
            StartExit();
        else if (watched == End)
            EndExit();
        else if (watched == Amplitude)
            AmplitudeExit();
        else if (watched == Offset)
            OffsetExit();
        break;
    default: break;
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
        w->update();
        if (w->Zoomed && World)
            World->update();
        w->PublishStatus();
    }
    if (ErrorCode != 0)
        return; // the dialog stays open; nothing is recorded
    if (w) {
        // The window now holds a generated waveform of the program's own format.
        w->FileType = 1;
        w->IsBitPattern = 0;
        w->StartStore.push_back(Start->text().toStdString());
        w->EndStore.push_back(End->text().toStdString());
        w->AmplStore.push_back(Amplitude->text().toStdString());
        w->OffsetStore.push_back(Offset->text().toStdString());
        w->AdjustStore.push_back(AutoAdjP->isChecked() ? "1" : AutoAdjPP->isChecked() ? "2" : "0");
        w->ExprnStore.push_back(Expr->currentText().toStdString());
        ++w->HistoryCount;
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
    if (w && index >= 0 && index < w->HistoryCount && size_t(index) < w->ExprnStore.size()) {
        const auto i = size_t(index);
        Start->setText(platform::toQString(w->StartStore[i]));
        End->setText(platform::toQString(w->EndStore[i]));
        Amplitude->setText(platform::toQString(w->AmplStore[i]));
        Offset->setText(platform::toQString(w->OffsetStore[i]));
        StartPoint = leadingInt(Start->text());
        EndPoint = leadingInt(End->text());
        AmplitudeCodes = leadingInt(Amplitude->text());
        OffsetCodes = leadingInt(Offset->text());
        const std::string& mode = w->AdjustStore[i];
        QRadioButton* radio = mode == "0" ? AsCalculated : mode == "1" ? AutoAdjP : mode == "2" ? AutoAdjPP : nullptr;
        if (radio) {
            radio->setChecked(true);
        } else {
            // Another text checks none of the three.
            for (QRadioButton* r : {AsCalculated, AutoAdjP, AutoAdjPP})
                r->setAutoExclusive(false), r->setChecked(false), r->setAutoExclusive(true);
        }
        w->SelectionStart = 0;
        for (QLineEdit* e : {Start, End, Amplitude, Offset})
            e->setModified(true);
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
    if (!w || index < 0 || index >= w->HistoryCount)
        return;
    --w->HistoryCount;
    for (auto* list : {&w->ExprnStore, &w->StartStore, &w->EndStore, &w->AmplStore, &w->OffsetStore,
                       &w->AdjustStore})
        if (size_t(index) < list->size())
            list->erase(list->begin() + index);
    Expr->clear();
    for (const std::string& e : w->ExprnStore)
        Expr->addItem(platform::toQString(e));
    Expr->setCurrentIndex(-1);
    Expr->showPopup();
    Expr->setEditText(QString());
    w->MarkSamplesChanged();
    Expr->setFocus();
}

// ---- the other buttons ----------------------------------------------------------------------

void TExpressionForm::WfmClick() { WfmList->setVisible(!WfmList->isVisible()); }

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

void TExpressionForm::BHelpClick() { platform::ui().showHelp(kHelpContext); }

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
