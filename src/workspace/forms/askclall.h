#pragma once
// Asked when one waveform of a multi-waveform data-logger file is closed.

#include "platform/form.h"

class QLabel;
class QRadioButton;
class QPushButton;

class TAskCloseAllDlg : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TAskCloseAllDlg(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QRadioButton* rbCloseThis = nullptr;
    QRadioButton* rbCloseAll = nullptr;
    QPushButton* bnOK = nullptr;

    void bnOKClick();
};

extern TAskCloseAllDlg* AskCloseAllDlg;
