#pragma once
#include "platform/form.h"

class TScalaropdlg : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TScalaropdlg(QWidget* parent = nullptr);

    // 0 add, 1 multiply; set by the menu item before the driver runs.
    int ScalarOp = 0;
};

extern TScalaropdlg* Scalaropdlg;
