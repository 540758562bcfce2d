#pragma once
// The triangle generator: the period and start phase of the sine dialog.

#include "synthesis/forms/periodic.h"

class TTriangleForm : public TPeriodicForm {
    Q_OBJECT
public:
    explicit TTriangleForm(QWidget* parent = nullptr);

    QLineEdit* Phase = nullptr;
    double& PhaseValue = SecondValue;
};

extern TTriangleForm* TriangleForm;
