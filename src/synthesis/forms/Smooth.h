#pragma once
#include "platform/form.h"

class TSmoothForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSmoothForm(QWidget* parent = nullptr);
};

extern TSmoothForm* SmoothForm;
