#pragma once
#include "platform/form.h"

class TBitPatternForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TBitPatternForm(QWidget* parent = nullptr);
};

extern TBitPatternForm* BitPatternForm;
