#pragma once
#include "platform/form.h"

class THarmonicsForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit THarmonicsForm(QWidget* parent = nullptr);
};

extern THarmonicsForm* HarmonicsForm;
