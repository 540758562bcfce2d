#pragma once
// The square generator: cycles over the range and the part of each cycle that is high.

#include "synthesis/forms/periodic.h"

class TSquareForm : public TPeriodicForm {
    Q_OBJECT
public:
    explicit TSquareForm(QWidget* parent = nullptr);

    QLineEdit* Duty = nullptr;
    double& DutyValue = SecondValue; // percent
};

extern TSquareForm* SquareForm;
