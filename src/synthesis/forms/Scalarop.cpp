#include "synthesis/forms/Scalarop.h"

TScalaropdlg* Scalaropdlg = nullptr;

TScalaropdlg::TScalaropdlg(QWidget* parent) : Form("Scalaropdlg", parent) {}
