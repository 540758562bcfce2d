#pragma once
#include "platform/form.h"

class TSetTekRef : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSetTekRef(QWidget* parent = nullptr);
};

extern TSetTekRef* SetTekRef;
