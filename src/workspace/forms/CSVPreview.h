#pragma once
#include "platform/form.h"

class TImportCSV : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TImportCSV(QWidget* parent = nullptr);
    // Shows the import dialog for the frame's chosen CSV file.
    void ShowImport();
};

extern TImportCSV* ImportCSV;
