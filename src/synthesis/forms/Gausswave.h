#pragma once
#include "platform/form.h"

class TGaussForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TGaussForm(QWidget* parent = nullptr);
};

extern TGaussForm* GaussForm;
