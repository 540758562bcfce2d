#include "transfer/forms/transfer_session.h"

#include "common/numtext.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "transfer/core/identity.h"
#include "transfer/core/tcp_link.h"
#include "transfer/forms/msgwnd.h"
#include "transfer/forms/setdload.h"
#include "transfer/forms/setuload.h"
#include "transfer/forms/transfer_host.h"
#include "workspace/forms/wfmchild.h"

#include <QCheckBox>
#include <QTimer>

using namespace plotwell;

TTransferHost* TransferHost = nullptr;

namespace {
// The "Skip identification query" box of the direction's settings dialog.
bool skipIdentity(bool download) {
    QWidget* dialog = download ? static_cast<QWidget*>(SetDownload) : static_cast<QWidget*>(SetUpload);
    if (!dialog)
        return false;
    auto* box = dialog->findChild<QCheckBox*>(download ? "SkipID1" : "SkipID");
    return box && box->isChecked();
}
} // namespace

bool TTransferSession::CheckIdentitySerial(transfer::Link& link, std::string& expected, bool download) {
    return CheckIdentity(link, expected, download);
}

bool TTransferSession::CheckIdentityGpib(transfer::Link& link, std::string& expected, bool download) {
    return CheckIdentity(link, expected, download);
}

bool TTransferSession::CheckIdentityUsb(transfer::Link& link, std::string& expected, bool download) {
    return CheckIdentity(link, expected, download);
}

bool TTransferSession::CheckIdentityLan(transfer::Link& link, std::string& expected, bool download) {
    return CheckIdentity(link, expected, download);
}

int TTransferSession::CompareIdentity(const std::string& reply, const std::string& expected) {
    return transfer::CompareIdentity(reply, expected);
}

bool TTransferSession::CheckIdentity(transfer::Link& link, std::string& expected, bool download) {
    using Outcome = transfer::IdentityCheck::Outcome;
    const transfer::IdentityCheck c = transfer::checkIdentity(link, expected, skipIdentity(download));
    if (!c.failed())
        return false;
    const transfer::LinkKind kind = link.kind();
    // The direction's own box comes first; the library's report or the mismatch follows.
    if (download)
        DownloadFailed();
    else
        UploadFailed();
    if (c.outcome == Outcome::Mismatch) {
        platform::errorBox(transfer::identityMismatchText(c.reply, c.expected));
    } else if (c.io.function && TransferHost) {
        if (kind == transfer::LinkKind::Gpib)
            TransferHost->ReportGpibError(c.io.function);
        else if (kind == transfer::LinkKind::Usb)
            TransferHost->ReportUsbError(c.io.function, c.io.code);
    }
    return true;
}

std::unique_ptr<transfer::Link> TTransferSession::ConnectLan(bool download) {
    // The transfer runs whole within this tick; no second tick may start it again.
    window_.ioTimer->stop();
    const auto& s = TransferHost->TransferRecord();
    // The address comes from the settings record, never from the dialog's Address edit,
    // which may show the GPIB address after a cancelled dialog.
    auto link = download ? transfer::TcpLink::connect(s.dlIPAddress, s.dlTCPPort)
                         : transfer::TcpLink::connect(s.ulIPAddress, s.ulTCPPort);
    if (!link) {
        if (MessageWnd)
            MessageWnd->hide();
        platform::ui().message("Unable to connect to device.\n\nCheck IP Address and TCP Port settings.",
                               platform::Icon::Error, platform::ButtonOk, false);
    }
    return link;
}

namespace {
// The part both failure routines share: normal cursor, timer off, the box, the link
// closed, the status window hidden.
void endFailedTransfer(QTimer* timer, const char* format, const std::string& port) {
    platform::setScreenCursor(platform::ScreenCursor::Default);
    timer->stop();
    platform::errorBox(common::cformat(format, port.c_str()));
    if (TransferHost)
        TransferHost->CloseTransferLink();
    if (MessageWnd)
        MessageWnd->hide();
}
} // namespace

void TTransferSession::DownloadFailed() {
    endFailedTransfer(window_.ioTimer, "Error downloading waveform data\nto %s",
                      TransferHost ? TransferHost->TransferRecord().dlType : std::string());
}

void TTransferSession::UploadFailed() {
    endFailedTransfer(window_.ioTimer, "Error uploading waveform data\nfrom %s",
                      TransferHost ? TransferHost->TransferRecord().ulType : std::string());
    window_.WaveName = TWFMform::DefaultWaveName;
    window_.CreateSampleStream();
    window_.SetCaption(TWFMform::DefaultWaveName);
    window_.update();
}
