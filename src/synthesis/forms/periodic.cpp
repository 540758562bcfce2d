#include "synthesis/forms/periodic.h"

TPeriodicForm::TPeriodicForm(const char* instanceName, const char* caption, Style style, Second second,
                             Formatter format, QWidget* parent)
    : TGeneratorForm(instanceName, caption, style, parent), spec_(second), format_(format) {
    Changed = 1;
    cycles_ = addDecimal("Cycles", "Cycles", false, &CyclesValue);
    second_ = addDecimal(second.name, second.label, second.isSigned, &SecondValue);
    Cycles = cycles_->edit();
}

std::string TPeriodicForm::FormatTemplate() const {
    return format_(CyclesValue, SecondValue);
}

void TPeriodicForm::ActivateOwn() {
    // A new dialog has no cycles yet; a negative count the user typed stays.
    if (CyclesValue == 0.0)
        CyclesValue = 1.0;
    if (spec_.zeroMeansDefault && SecondValue == 0.0)
        SecondValue = spec_.defaultValue;
    cycles_->show(CyclesValue);
    second_->show(SecondValue);
}

void TPeriodicForm::DefaultOwn() {
    CyclesValue = 1.0;
    SecondValue = spec_.defaultValue;
}
