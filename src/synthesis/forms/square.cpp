#include "synthesis/forms/square.h"

TSquareForm* SquareForm = nullptr;

TSquareForm::TSquareForm(QWidget* parent) : Form("SquareForm", parent) {}
