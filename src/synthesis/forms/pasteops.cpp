#include "synthesis/forms/pasteops.h"

TPasteOptions* PasteOptions = nullptr;

TPasteOptions::TPasteOptions(QWidget* parent) : Form("PasteOptions", parent) {}
