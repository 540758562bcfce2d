#pragma once
#include "platform/form.h"

class TResizeForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TResizeForm(QWidget* parent = nullptr);
};

extern TResizeForm* ResizeForm;
