#include "synthesis/forms/Resize.h"

TResizeForm* ResizeForm = nullptr;

TResizeForm::TResizeForm(QWidget* parent) : Form("ResizeForm", parent) {}
