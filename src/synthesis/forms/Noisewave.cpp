#include "synthesis/forms/Noisewave.h"

TNoiseForm* NoiseForm = nullptr;

TNoiseForm::TNoiseForm(QWidget* parent)
    : TGeneratorForm("NoiseForm", "Random noise", {.escapeCancels = false, .typedLimit = 9}, parent) {
    Changed = 1;
}

std::string TNoiseForm::FormatTemplate() const {
    return plotwell::synthesis::noiseExpression();
}
