#pragma once
#include "platform/form.h"

class TExpPregress : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TExpPregress(QWidget* parent = nullptr);
};

extern TExpPregress* ExpPregress;
