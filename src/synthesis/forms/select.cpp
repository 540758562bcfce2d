#include "synthesis/forms/select.h"

TSelectDialog* SelectDialog = nullptr;

TSelectDialog::TSelectDialog(QWidget* parent) : Form("SelectDialog", parent) {}
