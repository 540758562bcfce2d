#include "synthesis/forms/expwave.h"

TExpForm* ExpForm = nullptr;

TExpForm::TExpForm(QWidget* parent)
    : TOneSidedForm("ExpForm", "Exponent wave", {}, {5, plotwell::synthesis::exponentialExpression, false},
                    parent) {}
