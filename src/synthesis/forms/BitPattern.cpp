#include "synthesis/forms/BitPattern.h"

TBitPatternForm* BitPatternForm = nullptr;

TBitPatternForm::TBitPatternForm(QWidget* parent) : Form("BitPatternForm", parent) {}
