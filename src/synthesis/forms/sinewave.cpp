#include "synthesis/forms/sinewave.h"

TSineForm* SineForm = nullptr;

TSineForm::TSineForm(QWidget* parent)
    : TPeriodicForm("SineForm", "Sine wave", {.typedLimit = 9}, {"Phase", "Start phase", true, 0.0, false},
                    plotwell::synthesis::sineExpression, parent) {
    Phase = secondEdit();
}
