#pragma once
#include "platform/form.h"

class TNoiseForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TNoiseForm(QWidget* parent = nullptr);
};

extern TNoiseForm* NoiseForm;
