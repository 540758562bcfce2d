#pragma once
#include "platform/form.h"

class TMathopdlg : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TMathopdlg(QWidget* parent = nullptr);

    // 0 sum, 1 difference, 2 product; set by the menu item before the driver runs.
    int MathOp = 0;
};

extern TMathopdlg* Mathopdlg;
