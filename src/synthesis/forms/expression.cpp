#include "synthesis/forms/expression.h"

TExpressionForm* ExpressionForm = nullptr;

TExpressionForm::TExpressionForm(QWidget* parent) : Form("ExpressionForm", parent) {}
