#pragma once
#include "platform/form.h"

class TSetRS232 : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSetRS232(QWidget* parent = nullptr);
};

extern TSetRS232* SetRS232;
