#include "synthesis/forms/square.h"

TSquareForm* SquareForm = nullptr;

TSquareForm::TSquareForm(QWidget* parent)
    : TPeriodicForm("SquareForm", "Square wave", {}, {"Duty", "Duty        %", false, 50.0, true},
                    plotwell::synthesis::squareExpression, parent) {
    Duty = secondEdit();
}
