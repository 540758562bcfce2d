#pragma once
// The sine generator: cycles over the range and the start phase in degrees.

#include "synthesis/forms/periodic.h"

class TSineForm : public TPeriodicForm {
    Q_OBJECT
public:
    explicit TSineForm(QWidget* parent = nullptr);

    QLineEdit* Phase = nullptr;
    double& PhaseValue = SecondValue;

protected:
    bool ClearsBitPattern() const override { return true; }
};

extern TSineForm* SineForm;
