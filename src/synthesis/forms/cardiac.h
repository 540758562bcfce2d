#pragma once
// The cardiac generator: repeated heart beats drawn by ecg(), from eleven timings and
// amplitudes in percent, a cycle count and the choice of a U wave.

#include "synthesis/forms/generator.h"

#include <array>

class TCardiacForm : public TGeneratorForm {
    Q_OBJECT
public:
    explicit TCardiacForm(QWidget* parent = nullptr);

    // PRint, PRseg, QRSdur, VAT, QTint, STseg, Pampl, Qampl, Rampl, Sampl, Tampl.
    std::array<QLineEdit*, 11> Percent{};
    QLineEdit* Cycles = nullptr;
    QCheckBox* AddUwave = nullptr;

    plotwell::synthesis::CardiacPercents Percents = plotwell::synthesis::kCardiacDefaults;
    double CyclesValue = 0.0;

protected:
    std::string FormatTemplate() const override;
    void ActivateOwn() override;
    void DefaultOwn() override;

private:
    std::array<plotwell::platform::NumericField*, 11> percent_{};
    plotwell::platform::NumericField* cycles_ = nullptr;
};

extern TCardiacForm* CardiacForm;
