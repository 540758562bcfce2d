#include "synthesis/forms/Sinc.h"

#include <QCheckBox>

TSincForm* SincForm = nullptr;

TSincForm::TSincForm(QWidget* parent) : TGeneratorForm("SincForm", "Sinc wave", {}, parent) {
    OffsetCodes = 0;
    Changed = 1;
    zeroCross_ = addCount("ZeroCross", "Zero cross", &ZeroCrossings, 0);
    phase_ = addDecimal("Phase", "Start phase", true, &PhaseValue);
    Invert = addCheck("Invert", "Invert");
    ZeroCross = zeroCross_->edit();
    Phase = phase_->edit();
    connect(Invert, &QCheckBox::clicked, this, [this] { InvertClick(); });
}

void TSincForm::InvertClick() {
    // The preview of the other sign goes; the lines flip.
    Previewed = false;
    restoreAndMoveLines();
}

std::string TSincForm::FormatTemplate() const {
    return plotwell::synthesis::sincExpression(Invert->isChecked(), PhaseValue, ZeroCrossings);
}

plotwell::synthesis::PreviewLines TSincForm::Lines() const {
    return plotwell::synthesis::sincLines(AmplitudeCodes, OffsetCodes, Invert->isChecked());
}

void TSincForm::ActivateOwn() {
    phase_->show(PhaseValue);
    if (ZeroCrossings == 0)
        ZeroCrossings = 20;
    zeroCross_->show(ZeroCrossings);
}

void TSincForm::DefaultOwn() {
    PhaseValue = 180.0;
    ZeroCrossings = 20;
}
