#pragma once
#include "platform/form.h"

class TCSVProcess : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TCSVProcess(QWidget* parent = nullptr);
};

extern TCSVProcess* CSVProcess;
