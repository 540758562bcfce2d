#pragma once
#include "platform/form.h"

class TZELOSaveDialog : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TZELOSaveDialog(QWidget* parent = nullptr);
};

extern TZELOSaveDialog* ZELOSaveDialog;
