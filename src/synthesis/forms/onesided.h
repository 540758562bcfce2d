#pragma once
// The exponential and Gaussian generators: a curve on one side of the offset (or, bipolar,
// levelled to the full peak-to-peak amplitude about it), with a time scale in points.

#include "synthesis/forms/generator.h"

class TOneSidedForm : public TGeneratorForm {
    Q_OBJECT
public:
    QLineEdit* Timeconst = nullptr;
    QCheckBox* Invert = nullptr;
    QCheckBox* Bipolar = nullptr;
    // The time constant or the width, in points.
    int32_t TimeScale = 0;

    void InvertClick();
    void BipolarClick();

protected:
    struct Shape {
        // The time scale a range of n points gets: n / divisor.
        int32_t divisor;
        std::string (*format)(bool invert, int32_t timeScale);
        // Default also turns the curve upright.
        bool defaultUnchecksInvert;
    };
    TOneSidedForm(const char* instanceName, const char* caption, Style style, Shape shape, QWidget* parent);

    std::string FormatTemplate() const override;
    int32_t LevelModeValue() const override;
    plotwell::synthesis::PreviewLines Lines() const override;
    void ActivateOwn() override;
    void DefaultOwn() override;

private:
    // The offset re-read, the samples put back and the lines placed for the new choice.
    void choiceChanged();
    int32_t proposedScale() const;

    plotwell::platform::NumericField* timeconst_ = nullptr;
    Shape shape_;
};
