#include "synthesis/forms/Sinc.h"

TSincForm* SincForm = nullptr;

TSincForm::TSincForm(QWidget* parent) : Form("SincForm", parent) {}
