#pragma once
// "RS232 parameter setup": the serial parameters of the download or the upload port.
// Choosing the other port in Device closes the dialog with result 3, so that the other
// set is shown.

#include "platform/form.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace plotwell::transfer {
struct TransferSettings;
class TransferSession;
} // namespace plotwell::transfer

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

    // The I/O control menu opens: one Device row for each serial side of `s`; the chosen
    // row stays while it exists. False when no side is serial.
    bool ListDevices(const plotwell::transfer::TransferSettings& s);
    // "RS232 setup": shows the parameters of the side whose Device row is chosen. OK takes
    // them into the record and into that side's line settings; another Device row shows
    // the other side's.
    void EditParameters(plotwell::transfer::TransferSettings& s,
                        plotwell::transfer::TransferSession& session);

protected:
    void FormActivate() override;

private:
    int deviceRowAtShow_ = -1;
};

extern TSetRS232* SetRS232;
