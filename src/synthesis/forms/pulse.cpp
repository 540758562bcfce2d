#include "synthesis/forms/pulse.h"

TPulseForm* PulseForm = nullptr;

TPulseForm::TPulseForm(QWidget* parent) : Form("PulseForm", parent) {}
