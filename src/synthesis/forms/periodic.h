#pragma once
// The generators of a periodic shape: cycles over the range and one value per cycle (the
// start phase of the sine and triangle, the duty of the square).

#include "synthesis/forms/generator.h"

class TPeriodicForm : public TGeneratorForm {
    Q_OBJECT
public:
    QLineEdit* Cycles = nullptr;
    double CyclesValue = 0.0;
    // The phase in degrees, or the duty in percent.
    double SecondValue = 0.0;

protected:
    struct Second {
        const char* name;
        const char* label;
        bool isSigned;
        double defaultValue;
        // The activation puts the default in place of 0 (a duty; a phase of 0 is a phase).
        bool zeroMeansDefault;
    };
    using Formatter = std::string (*)(double cycles, double second);
    TPeriodicForm(const char* instanceName, const char* caption, Style style, Second second, Formatter format,
                  QWidget* parent);

    QLineEdit* secondEdit() const { return second_->edit(); }

    std::string FormatTemplate() const override;
    void ActivateOwn() override;
    void DefaultOwn() override;

private:
    plotwell::platform::NumericField* cycles_ = nullptr;
    plotwell::platform::NumericField* second_ = nullptr;
    Second spec_;
    Formatter format_;
};
