#pragma once
#include "platform/form.h"

class TLibraryForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TLibraryForm(QWidget* parent = nullptr);
};

extern TLibraryForm* LibraryForm;
