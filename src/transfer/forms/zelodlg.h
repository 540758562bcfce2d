#pragma once
// "ZELO filr position": the channel position of a data-logger file being saved. Nothing
// fills or shows it yet; the save path reads Position's row.

#include "platform/form.h"

class QComboBox;
class QPushButton;

class TZELOSaveDialog : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TZELOSaveDialog(QWidget* parent = nullptr);

    QComboBox* Position = nullptr;
    QComboBox* Length = nullptr;
    QPushButton* bnOK = nullptr;
};

extern TZELOSaveDialog* ZELOSaveDialog;
