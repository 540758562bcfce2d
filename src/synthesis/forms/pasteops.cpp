#include "synthesis/forms/pasteops.h"

#include "common/numtext.h"
#include "platform/clipboard.h"
#include "platform/numeric_field.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "synthesis/core/paste.h"
#include "synthesis/forms/maths_dialogs.h"
#include "synthesis/forms/range_exits.h"
#include "workspace/core/clipboard_numbers.h"
#include "workspace/core/limits.h"
#include "workspace/forms/wfmchild.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

using namespace plotwell;

TPasteOptions* PasteOptions = nullptr;

namespace {
constexpr int kFieldLimit = 9;
constexpr int kHelpContext = 10009;
const char* const kModes[] = {"From start point to end point", "At start point", "At end point",
                              "At start of waveform", "At end of Waveform"};
} // namespace

TPasteOptions::TPasteOptions(QWidget* parent) : TOperationForm("PasteOptions", parent) {
    setWindowTitle("Paste options");
    setHelpContext(kHelpContext);
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        platform::nameInput(e, name);
        return e;
    };
    Start = edit("Start");
    End = edit("End");
    Amplitude = edit("Amplitude");
    Offset = edit("Offset");
    Expand = edit("Expand");
    Expand->setEnabled(false);
    PasteType = new QComboBox(this);
    platform::nameInput(PasteType, "PasteType");
    for (const char* m : kModes)
        PasteType->addItem(QString::fromLatin1(m));
    PasteType->setCurrentIndex(-1);
    auto button = [this](const char* name, const char* text) {
        auto* b = platform::named(new QPushButton(QString::fromLatin1(text), this), name);
        // Enter never presses a button: a preview would take typed numbers past their exits.
        b->setAutoDefault(false);
        return b;
    };
    bPreview = button("bPreview", "Preview");
    bUndo = button("bUndo", "Undo");
    bUndo->setEnabled(false);
    bOK = button("bOK", "OK");
    bCancel = button("bCancel", "Cancel");
    Thumbnail = platform::named(new QLabel(this), "Thumbnail");
    Thumbnail->setFixedSize(202, 60);
    ClipName = platform::named(new QLabel(this), "ClipName");

    auto* grid = new QGridLayout;
    int row = 0;
    for (auto [label, field] : {std::pair{"Start point", Start}, std::pair{"End point", End},
                                std::pair{"Amplitude", Amplitude}, std::pair{"Offset", Offset}}) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), this), row, 0);
        grid->addWidget(field, row++, 1);
    }
    auto* expand = new QHBoxLayout;
    expand->addWidget(new QLabel("Expand waveform by", this));
    expand->addWidget(Expand);
    expand->addWidget(new QLabel("points", this));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {bPreview, bUndo, bOK, bCancel})
        buttons->addWidget(b);
    auto* top = new QVBoxLayout(this);
    top->addWidget(Thumbnail);
    top->addWidget(ClipName);
    top->addWidget(PasteType);
    top->addLayout(expand);
    top->addLayout(grid);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    using platform::FieldKind;
    using platform::NumericField;
    auto field = [this](QLineEdit* e, FieldKind kind, int32_t* value, void (TPasteOptions::*exit)()) {
        auto* f = new NumericField(e, {.kind = kind, .typedLimit = kFieldLimit});
        f->onChange = [this] { Changed = 1; };
        f->onRelease = [f, value](bool) { *value = f->intValue(); };
        f->onExit = [this, exit] { (this->*exit)(); };
        return f;
    };
    startField_ = field(Start, FieldKind::UnsignedInteger, &StartPoint, &TPasteOptions::StartExit);
    endField_ = field(End, FieldKind::UnsignedInteger, &EndPoint, &TPasteOptions::EndExit);
    amplitudeField_ =
        field(Amplitude, FieldKind::UnsignedInteger, &AmplitudeCodes, &TPasteOptions::AmplitudeExit);
    offsetField_ = field(Offset, FieldKind::SignedInteger, &OffsetCodes, &TPasteOptions::OffsetExit);
    expandField_ = field(Expand, FieldKind::UnsignedInteger, &ExpandCount, &TPasteOptions::ExpandExit);
    // A start typed past the end is pulled down to it at once; the field stays edited.
    startField_->onRelease = [this](bool) {
        if (synthesis::ReleaseStart(*this, *startField_))
            startField_->setModified(true);
    };
    connect(PasteType, qOverload<int>(&QComboBox::activated), this, [this] { PasteTypeChange(); });
    connect(bPreview, &QPushButton::clicked, this, &TPasteOptions::bPreviewClick);
    connect(bUndo, &QPushButton::clicked, this, &TPasteOptions::bUndoClick);
    connect(bOK, &QPushButton::clicked, this, &TPasteOptions::bOKClick);
    connect(bCancel, &QPushButton::clicked, this, &TPasteOptions::bCancelClick);
}

bool TPasteOptions::LoadClipboardWaveform() {
    const workspace::ClipboardWaveform got =
        workspace::clipboardWaveform(platform::clipboardText(workspace::kMaxClipboardText + 1));
    if (got.status != workspace::ClipboardWaveform::Status::Ok) {
        PasteBuffer.clear();
        const char* refusal = got.refusal();
        platform::errorBox(refusal ? refusal : "No waveform data was\nfound on the clipboard.");
        return false;
    }
    PasteBuffer = got.samples;
    ClipName->setText(
        platform::toQString(common::cformat("Clipboard contents: Length = %d points", PasteBuffer.count())));
    return true;
}

void TPasteOptions::FormActivate() {
    if (!Target)
        return;
    if (Target->Zoomed) {
        AmplitudeCodes = Target->ViewMax - Target->ViewMin;
        OffsetCodes = Target->ViewMin + (Target->ViewMax - Target->ViewMin) / 2;
    } else {
        AmplitudeCodes = 2 * MidCode - 1;
    }
    Changed = 1;
    PasteType->setFocus();
    startField_->show(StartPoint);
    endField_->show(EndPoint);
    amplitudeField_->show(AmplitudeCodes);
    offsetField_->show(OffsetCodes);
    LastPoint = Target->Doc.PointCount() - 1;
    if (PasteType->currentIndex() < 0)
        PasteType->setCurrentIndex(0);
    showExpand();
    SavedStart = StartPoint;
    SavedEnd = EndPoint;
    Target->MarkerAmplitude = AmplitudeCodes / 2;
    Target->MarkerOffset = OffsetCodes;
    Target->update();
}

void TPasteOptions::showExpand() {
    const bool inserting = PasteType->currentIndex() > 0;
    Expand->setEnabled(inserting);
    ExpandCount = inserting ? PasteBuffer.count() : 0;
    expandField_->show(ExpandCount);
}

void TPasteOptions::redrawTarget() {
    Target->update();
    Target->PublishStatus();
}

void TPasteOptions::showSnapshot() {
    RestoreSnapshot();
    Target->Doc.SelectionStart = StartPoint;
    Target->Doc.SelectionEnd = EndPoint;
    redrawTarget();
}

// Leaving a field acts only when the user changed it: an inserting preview shows the whole
// waveform in Start and End, and merely passing through a field must neither take that
// preview away nor make the shown range the one the next paste starts from.

void TPasteOptions::StartExit() {
    if (!Target || !synthesis::LeaveStart(*this, *startField_, synthesis::ExitRule::WhenModified, LastPoint))
        return;
    SavedStart = StartPoint;
    putBack();
}

void TPasteOptions::EndExit() {
    if (!Target || !synthesis::LeaveEnd(*this, *endField_, synthesis::ExitRule::WhenModified, LastPoint))
        return;
    SavedEnd = EndPoint;
    putBack();
}

void TPasteOptions::AmplitudeExit() {
    const std::optional<int32_t> typed = amplitudeField_->takeEdit();
    if (!Target || !typed)
        return;
    AmplitudeCodes = *typed;
    amplitudeField_->show(AmplitudeCodes);
    Target->MarkerAmplitude = AmplitudeCodes / 2;
    putBack();
}

void TPasteOptions::OffsetExit() {
    const std::optional<int32_t> typed = offsetField_->takeEdit();
    if (!Target || !typed)
        return;
    OffsetCodes = *typed;
    offsetField_->show(OffsetCodes);
    Target->MarkerOffset = OffsetCodes;
    putBack();
}

void TPasteOptions::ExpandExit() {
    if (expandField_->takeEdit())
        expandField_->show(ExpandCount);
}

void TPasteOptions::putBack() {
    RestoreSnapshot();
    redrawTarget();
}

void TPasteOptions::PasteTypeChange() {
    if (!Target)
        return;
    StartPoint = SavedStart;
    EndPoint = SavedEnd;
    startField_->show(StartPoint);
    endField_->show(EndPoint);
    showExpand();
    showSnapshot();
}

void TPasteOptions::bUndoClick() {
    if (!Target)
        return;
    bUndo->setEnabled(false);
    StartPoint = SavedStart;
    EndPoint = SavedEnd;
    startField_->show(StartPoint);
    endField_->show(EndPoint);
    showSnapshot();
}

void TPasteOptions::bPreviewClick() {
    if (!Target || !Target->Doc.SampleStream)
        return;
    synthesis::PasteOutcome out;
    {
        platform::BusyCursor busy;
        RestoreSnapshot();
        EndPoint = SavedEnd;
        StartPoint = SavedStart;
        bUndo->setEnabled(true);
        synthesis::PasteRequest rq;
        rq.mode = synthesis::PasteMode(std::max(0, PasteType->currentIndex()));
        rq.start = StartPoint;
        rq.end = EndPoint;
        rq.expandCount = ExpandCount;
        rq.amplitude = AmplitudeCodes;
        rq.offset = OffsetCodes;
        rq.midCode = MidCode;
        out = synthesis::applyPaste(*Target->Doc.SampleStream, PasteBuffer.codes(), rq);
    }
    using Status = synthesis::PasteOutcome::Status;
    if (out.status == Status::NoPoints) {
        platform::errorBox("There are no points to paste:\nexpand the waveform by at least 1 point.");
        return;
    }
    if (out.status == Status::TooLong) {
        platform::errorBox(
            common::cformat("The waveform would be longer than %d points.", workspace::kMaxPoints));
        return;
    }
    Changed = 1;
    StartPoint = out.start;
    EndPoint = out.end;
    startField_->show(StartPoint);
    endField_->show(EndPoint);
    if (out.clipped)
        synthesis::WarnClipped();
    Target->Doc.SelectionStart = StartPoint;
    Target->Doc.SelectionEnd = EndPoint;
    if (Target->Doc.PointCount() - 1 != LastPoint)
        Target->LengthChanged();
    redrawTarget();
}

void TPasteOptions::bOKClick() {
    if (!Target)
        return;
    StartExit();
    EndExit();
    AmplitudeExit();
    OffsetExit();
    Target->MarkerAmplitude = 0;
    bPreviewClick();
    setModalResult(platform::mrOk);
}

void TPasteOptions::bCancelClick() {
    CancelPath();
    setModalResult(platform::mrCancel);
}

void TPasteOptions::CancelPath() {
    if (Target)
        Target->MarkerAmplitude = 0;
}

void TPasteOptions::hideEvent(QHideEvent* event) {
    PasteBuffer.clear();
    TOperationForm::hideEvent(event);
}
