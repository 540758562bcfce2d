#pragma once
#include "platform/form.h"

class TPulseForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TPulseForm(QWidget* parent = nullptr);
};

extern TPulseForm* PulseForm;
