#include "synthesis/forms/Triangle.h"

TTriangleForm* TriangleForm = nullptr;

TTriangleForm::TTriangleForm(QWidget* parent)
    : TPeriodicForm("TriangleForm", "Triangle wave", {}, {"Phase", "Start phase", true, 0.0, false},
                    plotwell::synthesis::triangleExpression, parent) {
    Phase = secondEdit();
}
