#pragma once
#include "platform/form.h"

class TAskNameForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TAskNameForm(QWidget* parent = nullptr);
};

extern TAskNameForm* AskNameForm;
