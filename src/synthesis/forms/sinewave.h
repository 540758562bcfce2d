#pragma once
#include "platform/form.h"

class TSineForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSineForm(QWidget* parent = nullptr);
};

extern TSineForm* SineForm;
