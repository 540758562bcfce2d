#pragma once
#include "platform/form.h"

class TExpressionForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TExpressionForm(QWidget* parent = nullptr);
};

extern TExpressionForm* ExpressionForm;
