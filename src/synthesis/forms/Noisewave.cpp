#include "synthesis/forms/Noisewave.h"

TNoiseForm* NoiseForm = nullptr;

TNoiseForm::TNoiseForm(QWidget* parent) : Form("NoiseForm", parent) {}
