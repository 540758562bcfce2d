#pragma once
#include "platform/form.h"

class TSquareForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSquareForm(QWidget* parent = nullptr);
};

extern TSquareForm* SquareForm;
