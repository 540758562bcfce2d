#pragma once
#include "platform/form.h"

class TWaveSetup : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TWaveSetup(QWidget* parent = nullptr);
};

extern TWaveSetup* WaveSetup;
