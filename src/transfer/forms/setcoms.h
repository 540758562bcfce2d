#pragma once
// "RS232 parameter setup": the serial parameters of the download or the upload port.
// Choosing the other port in Device closes the dialog with result 3, so that the frame
// shows the other set.

#include "platform/form.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class TSetRS232 : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSetRS232(QWidget* parent = nullptr);

    // The answer when another Device row is chosen.
    static constexpr int mrDeviceChanged = 3;

    QComboBox* Device = nullptr; // "<port> for download", "<port> for upload"
    QComboBox* baud = nullptr;
    QLineEdit* bits = nullptr;
    QComboBox* stopbits = nullptr;
    QComboBox* parity = nullptr;
    QComboBox* flowcontrol = nullptr;
    QPushButton* bnOK = nullptr;
    QPushButton* bnCancel = nullptr;

    void DeviceChange();

protected:
    void FormActivate() override;

private:
    int deviceRowAtShow_ = -1;
};

extern TSetRS232* SetRS232;
