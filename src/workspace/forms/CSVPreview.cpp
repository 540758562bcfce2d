#include "workspace/forms/CSVPreview.h"

TImportCSV* ImportCSV = nullptr;

TImportCSV::TImportCSV(QWidget* parent) : Form("ImportCSV", parent) {}

void TImportCSV::ShowImport() {}
