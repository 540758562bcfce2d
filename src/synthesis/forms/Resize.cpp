#include "synthesis/forms/Resize.h"

#include "common/numtext.h"
#include "platform/numeric_field.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "synthesis/core/sample_maths.h"
#include "synthesis/forms/maths_dialogs.h"
#include "workspace/core/limits.h"
#include "workspace/forms/wfmchild.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

using namespace plotwell;

TResizeForm* ResizeForm = nullptr;

namespace {
constexpr int kLengthDigits = 8;
} // namespace

TResizeForm::TResizeForm(QWidget* parent) : TOperationForm("ResizeForm", parent) {
    setWindowTitle("Resize Form");
    auto* grid = new QGridLayout(this);
    NewLen = new QLineEdit("4096", this);
    OldLen = new QLineEdit("4096", this);
    platform::nameInput(NewLen, "NewLen");
    platform::nameInput(OldLen, "OldLen");
    OldLen->setReadOnly(true);
    OldLen->setFocusPolicy(Qt::NoFocus);
    newLenField_ = new platform::NumericField(NewLen, {.typedLimit = kLengthDigits});
    newLenField_->onRelease = [this](bool) { NewLenKeyUp(); };
    StaticText1 = platform::named(new QLabel("Old length", this), "StaticText1");
    StaticText2 = platform::named(new QLabel("New length", this), "StaticText2");
    grid->addWidget(StaticText1, 0, 0);
    grid->addWidget(OldLen, 0, 1);
    grid->addWidget(StaticText2, 1, 0);
    grid->addWidget(NewLen, 1, 1);

    BPreview = synthesis::NamedButton(this, "BPreview", "Preview");
    BOk = synthesis::NamedButton(this, "BOk", "OK");
    BCancel = synthesis::NamedButton(this, "BCancel", "Cancel");
    grid->addLayout(synthesis::ButtonRow({BPreview, BOk, BCancel}, BOk), 2, 0, 1, 2);
    connect(BPreview, &QPushButton::clicked, this, &TResizeForm::BPreviewClick);
    connect(BOk, &QPushButton::clicked, this, &TResizeForm::BOkClick);
    connect(BCancel, &QPushButton::clicked, this, &TResizeForm::BCancelClick);
}

void TResizeForm::FormActivate() {
    Changed = 1;
    OldLength = NewLength = std::max(SavedSamples.count(), 0);
    newLenField_->show(NewLength);
    OldLen->setText(NewLen->text());
    NewLen->setFocus();
}

void TResizeForm::NewLenKeyUp() {
    NewLength = newLenField_->intValue();
}

bool TResizeForm::ResizeWaveform() {
    if (!Target || !Target->Doc.SampleStream || !SavedSamples.hasPoints())
        return false;
    // What the field shows, however it came there (typed, or pasted with the mouse).
    NewLength = newLenField_->intValue();
    if (NewLength < 1 || NewLength > workspace::kMaxPoints) {
        platform::errorBox(
            common::cformat("The new length must be from 1 to %d points.", workspace::kMaxPoints));
        return false;
    }
    const int before = Target->Doc.PointCount();
    {
        platform::BusyCursor busy;
        synthesis::ResizeSamples(SavedSamples, NewLength, *Target->Doc.SampleStream);
    }
    // The zoom and the selection must not point past the new end; the start of the
    // selection stays where it was unless the end has moved in front of it.
    if (Target->Doc.PointCount() != before)
        Target->LengthChanged();
    const int32_t last = Target->Doc.PointCount() - 1;
    Target->Doc.SelectionEnd = last;
    Target->Doc.SelectionStart = std::min(Target->Doc.SelectionStart, last);
    Target->update();
    Target->PublishStatus();
    return true;
}

void TResizeForm::BPreviewClick() {
    ResizeWaveform();
    NewLen->setFocus();
}

void TResizeForm::BOkClick() {
    if (ResizeWaveform())
        setModalResult(platform::mrOk);
}

void TResizeForm::BCancelClick() {
    setModalResult(platform::mrCancel);
}
