#include "synthesis/forms/cardiac.h"

TCardiacForm* CardiacForm = nullptr;

TCardiacForm::TCardiacForm(QWidget* parent) : Form("CardiacForm", parent) {}
