#pragma once
// Asks the name under which the expression library stores an expression. The name is
// kept from one use to the next.

#include "platform/form.h"

class QLineEdit;
class QPushButton;

class TAskNameForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TAskNameForm(QWidget* parent = nullptr);

    QLineEdit* ExpName = nullptr;
    QPushButton* BOK = nullptr;
    QPushButton* BCancel = nullptr;

protected:
    void FormActivate() override;
};

extern TAskNameForm* AskNameForm;
