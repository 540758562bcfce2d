#include "synthesis/forms/sinewave.h"

TSineForm* SineForm = nullptr;

TSineForm::TSineForm(QWidget* parent) : Form("SineForm", parent) {}
