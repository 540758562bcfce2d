#include "workspace/forms/ProcessCSV.h"

TCSVProcess* CSVProcess = nullptr;

TCSVProcess::TCSVProcess(QWidget* parent) : Form("CSVProcess", parent) {}
