#pragma once
#include "platform/form.h"

class TWorld : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TWorld(QWidget* parent = nullptr);
};

extern TWorld* World;
