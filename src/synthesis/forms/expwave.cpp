#include "synthesis/forms/expwave.h"

TExpForm* ExpForm = nullptr;

TExpForm::TExpForm(QWidget* parent) : Form("ExpForm", parent) {}
