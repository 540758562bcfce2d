#include "transfer/forms/TekRef.h"

TSetTekRef* SetTekRef = nullptr;

TSetTekRef::TSetTekRef(QWidget* parent) : Form("SetTekRef", parent) {}
