#include "transfer/forms/instrument_links.h"

#include "platform/posix/environment.h"
#include "platform/posix/serial_port.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "transfer/forms/msgwnd.h"
#include "transfer/forms/setdload.h"
#include "transfer/forms/setuload.h"

#include <QComboBox>

using namespace plotwell;

transfer::TransferSession* TransferConnection = nullptr;

namespace {
// Type row of a stored interface text; a text that is gone (a serial port removed, or
// "GPIB" for board 0) puts that side on row 0.
void lookUpInterface(TSetTransfer& d, QComboBox* list, const transfer::TransferSide& s) {
    const int found = list->findText(platform::toQString(s.type));
    if (found < 0) {
        TSetTransfer::selectRow(d.Type, 0);
        s.typeIndex = transfer::ifGpib0;
    } else {
        TSetTransfer::selectRow(d.Type, found);
    }
}
} // namespace

void ListComPorts() {
    for (const std::string& port : platform::listSerialPorts()) {
        SetUpload->Type->addItem(platform::toQString(port));
        SetDownload->Type->addItem(platform::toQString(port));
    }
}

void RestoreInterfaces(transfer::TransferSettings& s) {
    // Both Type lists hold the same rows; the download one is searched.
    lookUpInterface(*SetUpload, SetDownload->Type, transfer::uploadSide(s));
    lookUpInterface(*SetDownload, SetDownload->Type, transfer::downloadSide(s));
    TransferConnection->restoreInterfaces(s, ShowLinkError);
}

transfer::LibraryFiles LibraryFilesNow() {
    return {platform::environmentOr(transfer::kGpibLibraryVariable, transfer::kGpibLibraryDefault),
            platform::environmentOr(transfer::kUsbLibraryVariable, transfer::kUsbLibraryDefault)};
}

bool LoadGpibLibrary() {
    const transfer::LinkError e = TransferConnection->loadGpib(LibraryFilesNow().gpib);
    ShowLinkError(e);
    return !e;
}

bool LoadUsbLibrary() {
    const transfer::LinkError e = TransferConnection->loadUsb(LibraryFilesNow().usb);
    ShowLinkError(e);
    return !e;
}

void ShowLinkError(const transfer::LinkError& error) {
    using Kind = transfer::LinkError::Kind;
    if (!error)
        return;
    if (error.kind == Kind::Driver)
        platform::setScreenCursor(platform::ScreenCursor::Default);
    if (error.kind == Kind::Connect && MessageWnd)
        MessageWnd->hide();
    platform::errorBox(error.text, error.beep);
    if (!error.systemText.empty())
        platform::ui().titledMessage("GetLastError", error.systemText, platform::Icon::Information,
                                     platform::ButtonOk);
}
