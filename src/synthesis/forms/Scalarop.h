#pragma once
#include "platform/form.h"

class TScalaropdlg : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TScalaropdlg(QWidget* parent = nullptr);
};

extern TScalaropdlg* Scalaropdlg;
