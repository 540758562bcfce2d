#pragma once
#include "platform/form.h"

class TSelectDialog : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSelectDialog(QWidget* parent = nullptr);
};

extern TSelectDialog* SelectDialog;
