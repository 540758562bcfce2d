#pragma once
#include "platform/form.h"

class TPasteOptions : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TPasteOptions(QWidget* parent = nullptr);
};

extern TPasteOptions* PasteOptions;
