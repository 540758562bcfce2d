#pragma once
// The sinc generator: a sin(x)/x pulse peaking at a chosen phase of the range, upright or
// inverted. Its preview lines follow the sinc's uneven shape: the peak and the deepest
// side lobe.

#include "synthesis/forms/generator.h"

class TSincForm : public TGeneratorForm {
    Q_OBJECT
public:
    explicit TSincForm(QWidget* parent = nullptr);

    QLineEdit* ZeroCross = nullptr;
    QLineEdit* Phase = nullptr;
    QCheckBox* Invert = nullptr;

    int32_t ZeroCrossings = 0;
    double PhaseValue = 180.0;

    void InvertClick();

protected:
    std::string FormatTemplate() const override;
    plotwell::synthesis::PreviewLines Lines() const override;
    void ActivateOwn() override;
    void DefaultOwn() override;

private:
    plotwell::platform::NumericField* zeroCross_ = nullptr;
    plotwell::platform::NumericField* phase_ = nullptr;
};

extern TSincForm* SincForm;
