#include "synthesis/forms/cardiac.h"

#include <QCheckBox>

TCardiacForm* CardiacForm = nullptr;

TCardiacForm::TCardiacForm(QWidget* parent)
    : TGeneratorForm("CardiacForm", "Cardiac wave", {.escapeCancels = false}, parent) {
    OffsetCodes = 0;
    Changed = 1;
    static constexpr std::pair<const char*, const char*> kFields[] = {
        {"PRint", "PR interval %"},       {"PRseg", "PR segment %"},
        {"QRSdur", "QRS duration %"},     {"VAT", "Ventricular activation time %"},
        {"QTint", "QT interval %"},       {"STseg", "ST segment %"},
        {"Pampl", "P wave amplitude %"},  {"Qampl", "Q wave amplitude %"},
        {"Rampl", "R wave amplitude %"},  {"Sampl", "S wave amplitude %"},
        {"Tampl", "T wave amplitude % "},
    };
    for (std::size_t i = 0; i < percent_.size(); ++i) {
        percent_[i] = addDecimal(kFields[i].first, kFields[i].second, false, &Percents[i]);
        Percent[i] = percent_[i]->edit();
    }
    AddUwave = addCheck("AddUwave", "Add U wave");
    makesPreviewStale(AddUwave);
    cycles_ = addDecimal("Cycles", "Cycles", false, &CyclesValue);
    Cycles = cycles_->edit();
}

std::string TCardiacForm::FormatTemplate() const {
    return plotwell::synthesis::cardiacExpression(Percents, AddUwave->isChecked(), CyclesValue);
}

void TCardiacForm::ActivateOwn() {
    for (std::size_t i = 0; i < percent_.size(); ++i)
        percent_[i]->show(Percents[i]);
    if (CyclesValue == 0.0)
        CyclesValue = 1.0;
    cycles_->show(CyclesValue);
}

void TCardiacForm::DefaultOwn() {
    Percents = plotwell::synthesis::kCardiacDefaults;
    CyclesValue = 1.0;
}
