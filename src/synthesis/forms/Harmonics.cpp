#include "synthesis/forms/Harmonics.h"

THarmonicsForm* HarmonicsForm = nullptr;

THarmonicsForm::THarmonicsForm(QWidget* parent) : Form("HarmonicsForm", parent) {}
