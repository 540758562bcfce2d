#pragma once
#include "platform/form.h"

class TTriangleForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TTriangleForm(QWidget* parent = nullptr);
};

extern TTriangleForm* TriangleForm;
