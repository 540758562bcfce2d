#include "synthesis/forms/Triangle.h"

TTriangleForm* TriangleForm = nullptr;

TTriangleForm::TTriangleForm(QWidget* parent) : Form("TriangleForm", parent) {}
