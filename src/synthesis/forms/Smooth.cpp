#include "synthesis/forms/Smooth.h"

#include "platform/numeric_field.h"
#include "platform/screen_cursor.h"
#include "synthesis/core/sample_maths.h"
#include "synthesis/forms/maths_dialogs.h"
#include "workspace/forms/wfmchild.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace plotwell;

TSmoothForm* SmoothForm = nullptr;

TSmoothForm::TSmoothForm(QWidget* parent) : TOperationForm("SmoothForm", parent) {
    setWindowTitle("Smooth");
    auto* grid = new QGridLayout(this);
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit("0", this);
        platform::nameInput(e, name);
        return e;
    };
    Points = edit("Points");
    Start = edit("Start");
    End = edit("End");
    pointsLabel_ = new QLabel("Points to average", this);
    grid->addWidget(pointsLabel_, 0, 0);
    grid->addWidget(Points, 0, 1);
    grid->addWidget(new QLabel("Start point", this), 1, 0);
    grid->addWidget(Start, 1, 1);
    grid->addWidget(new QLabel("End point", this), 2, 0);
    grid->addWidget(End, 2, 1);

    pointsField_ = new platform::NumericField(Points, {});
    pointsField_->onRelease = [this](bool) { PointsKeyUp(); };
    pointsField_->onExit = [this] {
        if (isVisible())
            PointsExit();
    };
    range_ =
        std::make_unique<synthesis::RangeFields>(*this, Start, End, synthesis::RangeFields::ExitRule::Always);

    BApply = synthesis::NamedButton(this, "BApply", "Apply");
    BUndo = synthesis::NamedButton(this, "BUndo", "Undo");
    BOK = synthesis::NamedButton(this, "BOK", "OK");
    BCancel = synthesis::NamedButton(this, "BCancel", "Cancel");
    // Enter applies the smoothing.
    grid->addLayout(synthesis::ButtonRow({BApply, BUndo, BOK, BCancel}, BApply), 3, 0, 1, 2);
    connect(BApply, &QPushButton::clicked, this, &TSmoothForm::BApplyClick);
    connect(BUndo, &QPushButton::clicked, this, &TSmoothForm::BUndoClick);
    connect(BOK, &QPushButton::clicked, this, &TSmoothForm::BOKClick);
    connect(BCancel, &QPushButton::clicked, this, &TSmoothForm::BCancelClick);
}

TSmoothForm::~TSmoothForm() = default;

void TSmoothForm::enableAnswer(bool on) {
    BOK->setEnabled(on);
    BUndo->setEnabled(on);
}

void TSmoothForm::FormActivate() {
    Changed = 0;
    enableAnswer(false);
    pointsField_->show(PointsToAverage);
    range_->Activate();
    LastPoint = range_->LastPoint;
    Points->setFocus();
}

bool TSmoothForm::pointsFit() {
    return synthesis::NumberFits(*pointsField_, pointsLabel_->text());
}

void TSmoothForm::BApplyClick() {
    if (!pointsFit())
        return;
    enableAnswer(true);
    BApply->setFocus();
    if (!Target || !Target->Doc.SampleStream)
        return;
    {
        platform::BusyCursor busy;
        // Enter applies with the fields as typed, before their exits have clamped them.
        const synthesis::PointRange range = range_->PointsRange();
        StartPoint = int32_t(range.first);
        EndPoint = int32_t(range.last);
        PointsToAverage = synthesis::SmoothRange(Target->Doc.SampleStream->codes(), range, PointsToAverage);
        pointsField_->show(PointsToAverage);
    }
    Target->ShowChangedSamples();
}

void TSmoothForm::BUndoClick() {
    enableAnswer(false);
    RestoreSnapshot();
    if (Target)
        Target->ShowChangedSamples();
}

void TSmoothForm::BOKClick() {
    if (!pointsFit())
        return;
    Changed = 1;
    setModalResult(platform::mrOk);
}

void TSmoothForm::BCancelClick() {
    setModalResult(platform::mrCancel);
}

// A number too large stays as typed, for Apply and OK to refuse; the width stays the last
// one that could be held.
void TSmoothForm::PointsKeyUp() {
    if (!pointsField_->fits())
        return;
    PointsToAverage = pointsField_->intValue();
    pointsField_->show(PointsToAverage);
}

// A new width starts from the samples as they were before the dialog.
void TSmoothForm::PointsExit() {
    if (!pointsField_->fits())
        return;
    pointsField_->show(PointsToAverage);
    RestoreSnapshot();
    if (Target)
        Target->ShowChangedSamples();
}
