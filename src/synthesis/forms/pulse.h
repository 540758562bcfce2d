#pragma once
// The pulse generator: a train of trapezoids between a low and a high level given in codes
// about the mid code. The levels take the place of amplitude and offset, whose fields the
// dialog keeps hidden for the history entry.

#include "synthesis/forms/generator.h"

class TPulseForm : public TGeneratorForm {
    Q_OBJECT
public:
    explicit TPulseForm(QWidget* parent = nullptr);

    QLineEdit* Low = nullptr;
    QLineEdit* HighL = nullptr;
    QLineEdit* Delay = nullptr;
    QLineEdit* Rise = nullptr;
    QLineEdit* HighT = nullptr;
    QLineEdit* Fall = nullptr;
    QLineEdit* Cycles = nullptr;

    int32_t LowLevel = 0;
    // -1 until the first activation proposes the top code.
    int32_t HighLevel = -1;
    plotwell::synthesis::PulseTimes Times;

    void LowExit();
    void HighLExit();

protected:
    std::string FormatTemplate() const override;
    plotwell::synthesis::PreviewLines Lines() const override;
    void ActivateLevels() override;
    void ActivateOwn() override;
    void DefaultOwn() override;
    void OkExits() override;

private:
    plotwell::platform::NumericField* low_ = nullptr;
    plotwell::platform::NumericField* high_ = nullptr;
    std::vector<std::pair<plotwell::platform::NumericField*, double*>> times_;
};

extern TPulseForm* PulseForm;
