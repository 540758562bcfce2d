#include "synthesis/forms/vertical.h"

TVertForm* VertForm = nullptr;

TVertForm::TVertForm(QWidget* parent) : Form("VertForm", parent) {}
