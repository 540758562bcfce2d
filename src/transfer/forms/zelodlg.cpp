#include "transfer/forms/zelodlg.h"

TZELOSaveDialog* ZELOSaveDialog = nullptr;

TZELOSaveDialog::TZELOSaveDialog(QWidget* parent) : Form("ZELOSaveDialog", parent) {}
