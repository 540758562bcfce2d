#include "app/Plotdesk.h"

#include "platform/qstring.h"
#include "synthesis/forms/explibrary.h"
#include "transfer/core/instrument_models.h"
#include "transfer/forms/setcoms.h"
#include "transfer/forms/setdload.h"
#include "transfer/forms/setuload.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace plotwell;
using transfer::TransferSide;

namespace {
// Start-up: the stored rows go into a dialog as the handlers would have left them.
void pushStoredRows(TSetTransfer& d, const TransferSide& s) {
    TSetTransfer::selectRow(d.Make, s.makeIndex);
    d.MakeChange(false);
    TSetTransfer::selectRow(d.Model, s.modelIndex);
    d.ModelChange();
    TSetTransfer::selectRow(d.Target, s.targetIndex);
}

void pushDrive(TSetTransfer& d, const TransferSide& s) {
    TSetTransfer::selectRow(d.DriveLetter, s.driveLetterIndex);
    d.DriveLetter->setEditText(platform::toQString(s.driveLetter));
}

// Type row of a stored interface text; a text that is gone (a serial port removed, or
// "GPIB" for board 0) puts that side on row 0.
void lookUpInterface(TSetTransfer& d, QComboBox* list, const TransferSide& s) {
    const int found = list->findText(platform::toQString(s.type));
    if (found < 0) {
        TSetTransfer::selectRow(d.Type, 0);
        s.typeIndex = transfer::ifGpib0;
    } else {
        TSetTransfer::selectRow(d.Type, found);
    }
}
} // namespace

void TPWForm1::PushSettingsToDialogs() {
    pushStoredRows(*SetUpload, transfer::uploadSide(TransferSettings));
    pushStoredRows(*SetDownload, transfer::downloadSide(TransferSettings));
    pushDrive(*SetDownload, transfer::downloadSide(TransferSettings));
    pushDrive(*SetUpload, transfer::uploadSide(TransferSettings));
    TSetTransfer::selectRow(SetRS232->Device, 0);
    SetDownload->Tcp_Port->setText(platform::toQString(TransferSettings.dlTCPPort));
    SetUpload->Tcp_Port->setText(platform::toQString(TransferSettings.ulTCPPort));
}

void TPWForm1::RestoreInterfaces() {
    auto& s = TransferSettings;
    // 9. Both Type lists hold the same rows; the download one is searched.
    lookUpInterface(*SetUpload, SetDownload->Type, transfer::uploadSide(s));
    lookUpInterface(*SetDownload, SetDownload->Type, transfer::downloadSide(s));
    // 10. A serial side is checked and prepared; a GPIB side wants the library. The
    // other sides still get their line settings, for a port chosen later.
    if (s.dlTypeIndex > transfer::ifLan) {
        ProbeSerialPort(true);
    } else {
        ApplyDownloadSerial();
        if (s.dlTypeIndex < transfer::ifUsb)
            GpibNeeded = true;
    }
    if (s.ulTypeIndex > transfer::ifLan) {
        ProbeSerialPort(false);
    } else {
        ApplyUploadSerial();
        if (s.ulTypeIndex < transfer::ifUsb)
            GpibNeeded = true;
    }
    // 11. The USB library is needed when a USB side names a model that has USB.
    UsbNeeded = (s.ulTypeIndex == transfer::ifUsb && transfer::supportsUsb(s.ulMakeIndex, s.ulModelIndex)) ||
                (s.dlTypeIndex == transfer::ifUsb && transfer::supportsUsb(s.dlMakeIndex, s.dlModelIndex));
}

void TPWForm1::TransferSetup(TSetTransfer& dialog, bool download) {
    const TransferSide side =
        download ? transfer::downloadSide(TransferSettings) : transfer::uploadSide(TransferSettings);
    // What Cancel puts back: the record (a Make change presets its flow control at once)
    // and the controls the transfers read that the record does not hold.
    const transfer::TransferSettings before = TransferSettings;
    const TSetTransfer::Controls controls = dialog.SaveControls();

    dialog.Address->setText(platform::toQString(dialog.lanChosen() ? side.ipAddress : side.address));
    if (dialog.ShowModal() == platform::mrOk) {
        dialog.Commit();
        if (download)
            ApplyDownloadSerial();
        else
            ApplyUploadSerial();
    } else {
        TransferSettings = before;
        dialog.RestoreStoredRows();
        dialog.RestoreControls(controls);
    }
    if (download)
        ShowDownloadInfo();
    else
        ShowUploadInfo();
}

void TPWForm1::Generatorsetup1Click() {
    TransferSetup(*SetDownload, true);
}

void TPWForm1::Oscilloscopesetup1Click() {
    TransferSetup(*SetUpload, false);
}

void TPWForm1::IOcontrol1Click() {
    // The waveform windows' I/O control menu holds this same item, so enabling it here
    // serves the frame and the active window alike.
    QComboBox* device = SetRS232->Device;
    const int remembered = device->currentIndex();
    RS232setup1->setEnabled(false);
    device->clear();
    const auto& s = TransferSettings;
    if (s.dlTypeIndex > transfer::ifLan) {
        device->addItem(platform::toQString(transfer::deviceRowText(s.dlType, true)));
        RS232setup1->setEnabled(true);
    }
    if (s.ulTypeIndex > transfer::ifLan) {
        device->addItem(platform::toQString(transfer::deviceRowText(s.ulType, false)));
        RS232setup1->setEnabled(true);
    }
    if (device->count() > 0)
        TSetTransfer::selectRow(device, remembered >= 0 && remembered < device->count() ? remembered : 0);
}

void TPWForm1::ShowDownloadInfo() {
    DownloadInfo->setText(platform::toQString(transfer::downloadInfo(TransferSettings)));
    DownloadInfo->adjustSize();
    FitStatusLabels();
}

void TPWForm1::ShowUploadInfo() {
    UploadInfo->setText(platform::toQString(transfer::uploadInfo(TransferSettings)));
    UploadInfo->adjustSize();
    FitStatusLabels();
}

void TPWForm1::LoadExpressionLibrary() {
    if (LibraryForm)
        LibraryForm->LoadProjectLibrary(HomeDir, PrjFile);
}
