#include "synthesis/forms/Smooth.h"

TSmoothForm* SmoothForm = nullptr;

TSmoothForm::TSmoothForm(QWidget* parent) : Form("SmoothForm", parent) {}
