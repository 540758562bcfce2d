#pragma once
// "Set reference location size": the record length of a reference memory of the larger
// Tektronix oscilloscopes, asked before such a download.

#include "platform/form.h"

#include <string>

class QComboBox;
class QLabel;
class QPushButton;

class TSetTekRef : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSetTekRef(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr; // "No. of points", then "<model> <destination> size"
    QComboBox* NoPoints = nullptr;
    QPushButton* bnOK = nullptr;
    QPushButton* bnCancel = nullptr;

    // Asks for the record length of `destination` on `model`. False when cancelled.
    bool AskRecordLength(const std::string& model, const std::string& destination, int& length);
};

extern TSetTekRef* SetTekRef;
