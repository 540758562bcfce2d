#include "app/Plotdesk.h"

#include "common/numtext.h"
#include "platform/posix/serial_port.h"
#include "platform/qstring.h"
#include "platform/ui.h"
#include "transfer/core/serial_link.h"
#include "transfer/core/serial_settings.h"
#include "transfer/forms/setcoms.h"
#include "transfer/forms/setdload.h"
#include "transfer/forms/setuload.h"

#include <QComboBox>
#include <QLineEdit>

using namespace plotwell;

namespace {
// Puts the stored parameters of one side into the RS-232 dialog.
void showParameters(const transfer::TransferSide& s) {
    TSetTransfer::selectRow(SetRS232->baud, s.baudRate);
    SetRS232->bits->setText(platform::toQString(common::cformat("%d", s.byteSize)));
    TSetTransfer::selectRow(SetRS232->stopbits, s.stopBits);
    TSetTransfer::selectRow(SetRS232->parity, s.parity);
    TSetTransfer::selectRow(SetRS232->flowcontrol, s.flowControl);
}
} // namespace

void TPWForm1::ListComPorts() {
    for (const std::string& port : platform::listSerialPorts()) {
        SetUpload->Type->addItem(platform::toQString(port));
        SetDownload->Type->addItem(platform::toQString(port));
    }
}

void TPWForm1::ApplyDownloadSerial() {
    const auto& s = TransferSettings;
    transfer::applySerialParameters(Serial.DownloadDcb, s.dlBaudRate, s.dlByteSize, s.dlParity, s.dlStopBits,
                                    s.dlFlowControl);
}

void TPWForm1::ApplyUploadSerial() {
    const auto& s = TransferSettings;
    transfer::applySerialParameters(Serial.UploadDcb, s.ulBaudRate, s.ulByteSize, s.ulParity, s.ulStopBits,
                                    s.ulFlowControl);
}

void TPWForm1::ProbeSerialPort(bool download) {
    const std::string& port = download ? TransferSettings.dlType : TransferSettings.ulType;
    platform::SerialLineSettings& dcb = download ? Serial.DownloadDcb : Serial.UploadDcb;
    int error = 0;
    switch (transfer::readSerialState(port, dcb, error)) {
    case transfer::SerialOpenResult::NoAccess:
        // Start-up goes on with the line settings unread.
        platform::errorBox(common::cformat(transfer::kStartupAccessText, port.c_str()), false);
        break;
    case transfer::SerialOpenResult::GetStateFailed:
        ReportCommError(port, "GetCommState", error);
        break;
    default:
        break;
    }
    if (download) {
        ApplyDownloadSerial();
        Serial.DownloadTimeouts = transfer::kDownloadTimeouts;
    } else {
        ApplyUploadSerial();
        Serial.UploadTimeouts = transfer::kUploadTimeouts;
    }
}

bool TPWForm1::OpenSerialLink(bool download) {
    const auto& s = TransferSettings;
    const std::string& port = download ? s.dlType : s.ulType;
    platform::SerialTimeouts timeouts = download ? Serial.DownloadTimeouts : Serial.UploadTimeouts;
    if (download) {
        // The slow generators take a long time to store a long waveform.
        timeouts.writeTotalConstant = s.dlModel == "QVA3460" || s.dlModel == "QVA347x" ? 40000 : 5000;
        Serial.DownloadTimeouts = timeouts;
    }
    CloseTransferLink();
    Serial.CommHandle.close();
    int error = 0;
    switch (transfer::openSerialPort(Serial.CommHandle, port,
                                     download ? Serial.DownloadDcb : Serial.UploadDcb, timeouts, error)) {
    case transfer::SerialOpenResult::Ok:
        TransferLink = std::make_unique<transfer::SerialLink>(std::move(Serial.CommHandle));
        return true;
    case transfer::SerialOpenResult::SetStateFailed:
        ReportCommError(port, "SetCommState", error);
        return false;
    default:
        platform::errorBox(common::cformat(transfer::kTransferAccessText, port.c_str()), true);
        return false;
    }
}

void TPWForm1::ReportCommError(const std::string& port, const std::string& function, int error) {
    platform::errorBox(common::cformat(transfer::kCommErrorText, port.c_str(), function.c_str()), true);
    platform::ui().titledMessage("GetLastError", platform::systemErrorText(error),
                                 platform::Icon::Information, platform::ButtonOk);
}

void TPWForm1::RS232setup1Click() {
    for (;;) {
        QComboBox* device = SetRS232->Device;
        if (device->currentIndex() < 0)
            return;
        const bool download = device->currentText().endsWith(QLatin1String(" for download"));
        const transfer::TransferSide side =
            download ? transfer::downloadSide(TransferSettings) : transfer::uploadSide(TransferSettings);
        showParameters(side);
        const int result = SetRS232->ShowModal();
        if (result == TSetRS232::mrDeviceChanged)
            continue;
        if (result != platform::mrOk)
            return;
        // The whole set is checked before any of it is taken.
        const std::string bitsText = SetRS232->bits->text().toStdString();
        const auto byteSize = common::parseInt(bitsText);
        if (!byteSize) {
            platform::errorBox(common::cformat("'%s' is not a valid integer value", bitsText.c_str()));
            return;
        }
        // The rows above 38400 come only from a project; a dialog that cannot show the
        // stored row keeps it.
        if (SetRS232->baud->currentIndex() >= 0)
            side.baudRate = SetRS232->baud->currentIndex();
        side.byteSize = *byteSize;
        side.stopBits = SetRS232->stopbits->currentIndex();
        side.parity = SetRS232->parity->currentIndex();
        side.flowControl = SetRS232->flowcontrol->currentIndex();
        if (download)
            ApplyDownloadSerial();
        else
            ApplyUploadSerial();
        return;
    }
}
