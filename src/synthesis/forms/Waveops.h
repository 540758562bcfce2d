#pragma once
#include "platform/form.h"

class TMathopdlg : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TMathopdlg(QWidget* parent = nullptr);
};

extern TMathopdlg* Mathopdlg;
