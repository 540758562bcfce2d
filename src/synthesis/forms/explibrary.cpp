#include "synthesis/forms/explibrary.h"

TLibraryForm* LibraryForm = nullptr;

TLibraryForm::TLibraryForm(QWidget* parent) : Form("LibraryForm", parent) {}
