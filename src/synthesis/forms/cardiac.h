#pragma once
#include "platform/form.h"

class TCardiacForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TCardiacForm(QWidget* parent = nullptr);
};

extern TCardiacForm* CardiacForm;
