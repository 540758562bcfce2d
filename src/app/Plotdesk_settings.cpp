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
            Transfers.ApplyDownloadSerial(TransferSettings);
        else
            Transfers.ApplyUploadSerial(TransferSettings);
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
    RS232setup1->setEnabled(SetRS232->ListDevices(TransferSettings));
}

void TPWForm1::RS232setup1Click() {
    SetRS232->EditParameters(TransferSettings, Transfers);
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
