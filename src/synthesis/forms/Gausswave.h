#pragma once
// The Gaussian generator: a bell of a given width in points, centred in the range.

#include "synthesis/forms/onesided.h"

class TGaussForm : public TOneSidedForm {
    Q_OBJECT
public:
    explicit TGaussForm(QWidget* parent = nullptr);
};

extern TGaussForm* GaussForm;
