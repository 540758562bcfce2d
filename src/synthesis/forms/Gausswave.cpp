#include "synthesis/forms/Gausswave.h"

TGaussForm* GaussForm = nullptr;

TGaussForm::TGaussForm(QWidget* parent) : Form("GaussForm", parent) {}
