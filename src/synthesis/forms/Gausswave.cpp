#include "synthesis/forms/Gausswave.h"

TGaussForm* GaussForm = nullptr;

TGaussForm::TGaussForm(QWidget* parent)
    : TOneSidedForm("GaussForm", "Gaussian wave", {.escapeCancels = false, .typedLimit = 9},
                    {20, plotwell::synthesis::gaussianExpression, true}, parent) {}
