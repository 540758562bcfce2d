#include "synthesis/forms/Waveops.h"

TMathopdlg* Mathopdlg = nullptr;

TMathopdlg::TMathopdlg(QWidget* parent) : Form("Mathopdlg", parent) {}
