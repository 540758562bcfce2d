#include "synthesis/forms/onesided.h"

#include "synthesis/core/generation.h"

#include <QCheckBox>
#include <QLineEdit>

TOneSidedForm::TOneSidedForm(const char* instanceName, const char* caption, Style style, Shape shape,
                             QWidget* parent)
    : TGeneratorForm(instanceName, caption, style, parent), shape_(shape) {
    OffsetCodes = 0;
    Changed = 1;
    timeconst_ = addCount("Timeconst", "Time const.", &TimeScale, 1);
    Timeconst = timeconst_->edit();
    Invert = addCheck("Invert", "Invert");
    Bipolar = addCheck("Bipolar", "Bipolar");
    connect(Invert, &QCheckBox::clicked, this, [this] { InvertClick(); });
    connect(Bipolar, &QCheckBox::clicked, this, [this] { BipolarClick(); });
}

void TOneSidedForm::InvertClick() {
    choiceChanged();
}

void TOneSidedForm::BipolarClick() {
    choiceChanged();
}

void TOneSidedForm::choiceChanged() {
    Previewed = false;
    Offset->setModified(true);
    OffsetExit();
}

int32_t TOneSidedForm::proposedScale() const {
    return (EndPoint - StartPoint + 1) / shape_.divisor;
}

std::string TOneSidedForm::FormatTemplate() const {
    return shape_.format(Invert->isChecked(), TimeScale);
}

int32_t TOneSidedForm::LevelModeValue() const {
    return Bipolar->isChecked() ? plotwell::synthesis::AutoAdjustPkPk : plotwell::synthesis::AsCalculated;
}

plotwell::synthesis::PreviewLines TOneSidedForm::Lines() const {
    return plotwell::synthesis::oneSidedLines(AmplitudeCodes, OffsetCodes, Invert->isChecked(),
                                              Bipolar->isChecked());
}

void TOneSidedForm::ActivateOwn() {
    // Later requests keep the last value; a range too short for a proposal leaves 0.
    if (TimeScale == 0)
        TimeScale = proposedScale();
    timeconst_->show(TimeScale);
}

void TOneSidedForm::DefaultOwn() {
    TimeScale = proposedScale();
    if (shape_.defaultUnchecksInvert)
        Invert->setChecked(false);
}
