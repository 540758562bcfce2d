#pragma once
// The exponential generator: amp times exp(-t/T) from the first point of the range.

#include "synthesis/forms/onesided.h"

class TExpForm : public TOneSidedForm {
    Q_OBJECT
public:
    explicit TExpForm(QWidget* parent = nullptr);
};

extern TExpForm* ExpForm;
