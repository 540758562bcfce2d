#pragma once
#include "platform/form.h"

class TVertForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TVertForm(QWidget* parent = nullptr);
};

extern TVertForm* VertForm;
