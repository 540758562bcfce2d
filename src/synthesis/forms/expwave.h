#pragma once
#include "platform/form.h"

class TExpForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TExpForm(QWidget* parent = nullptr);
};

extern TExpForm* ExpForm;
