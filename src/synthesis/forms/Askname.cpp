#include "synthesis/forms/Askname.h"

TAskNameForm* AskNameForm = nullptr;

TAskNameForm::TAskNameForm(QWidget* parent) : Form("AskNameForm", parent) {}
