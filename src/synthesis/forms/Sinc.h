#pragma once
#include "platform/form.h"

class TSincForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSincForm(QWidget* parent = nullptr);
};

extern TSincForm* SincForm;
