#include "app/Plotdesk.h"

#include "common/numtext.h"
#include "platform/posix/environment.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "transfer/core/instrument_libraries.h"
#include "transfer/core/library_links.h"

using namespace plotwell;

namespace {
transfer::InstrumentLibraries& libraries(std::unique_ptr<transfer::InstrumentLibraries>& held) {
    if (!held)
        held = std::make_unique<transfer::InstrumentLibraries>();
    return *held;
}

// The decimal value of an address text; -1 (refused by the drivers) when it is none.
int addressValue(const std::string& text) {
    return common::parseInt(text).value_or(-1);
}
} // namespace

bool TPWForm1::LoadGpibLibrary() {
    auto& libs = libraries(Libraries);
    if (libs.loadGpib(
            platform::environmentOr(transfer::kGpibLibraryVariable, transfer::kGpibLibraryDefault))) {
        GpibNeeded = true;
        return true;
    }
    GpibNeeded = false;
    platform::errorBox(transfer::gpibLoadFailureText(libs.gpibFile()));
    return false;
}

bool TPWForm1::LoadUsbLibrary() {
    auto& libs = libraries(Libraries);
    if (libs.loadUsb(platform::environmentOr(transfer::kUsbLibraryVariable, transfer::kUsbLibraryDefault))) {
        UsbNeeded = true;
        return true;
    }
    UsbNeeded = false;
    platform::errorBox(transfer::usbLoadFailureText(libs.usbFile()));
    return false;
}

void TPWForm1::FreeLibraries() {
    // Devices first: their close calls need their drivers. A transfer still running ends
    // with them.
    Transfers.end();
    TransferLink.reset();
    if (Libraries) {
        Libraries->freeUsb();
        Libraries->freeGpib();
    }
    Libraries.reset();
}

void TPWForm1::ReportGpibError(const std::string& function) {
    platform::setScreenCursor(platform::ScreenCursor::Default);
    platform::errorBox(transfer::gpibErrorText(function, Libraries ? Libraries->gpibError() : 0));
}

void TPWForm1::ReportUsbError(const std::string& function, int code) {
    platform::setScreenCursor(platform::ScreenCursor::Default);
    if (Libraries)
        Libraries->closeUsb(UsbDevice);
    platform::errorBox(transfer::usbErrorText(function, code));
}

bool TPWForm1::OpenGpibLink(int board, const std::string& address, int tmo) {
    if (!(Libraries && Libraries->gpibLoaded()) && !LoadGpibLibrary())
        return false;
    CloseTransferLink();
    auto link = transfer::GpibLink::open(Libraries->gpib(), board, addressValue(address), tmo, Deadlines);
    if (!link) {
        ReportGpibError("ibdev");
        return false;
    }
    GpibDevice = link->device();
    TransferLink = std::move(link);
    return true;
}

bool TPWForm1::OpenUsbLink(const std::string& address) {
    if (!(Libraries && Libraries->usbLoaded()) && !LoadUsbLibrary())
        return false;
    CloseTransferLink();
    int error = 0;
    auto link = transfer::UsbLink::open(*Libraries, addressValue(address), error, Deadlines);
    if (!link) {
        ReportUsbError("AWG_Open", error);
        return false;
    }
    UsbDevice = link->handle();
    TransferLink = std::move(link);
    return true;
}

void TPWForm1::CloseTransferLink() {
    // The link object stays (closed) until the next transfer opens one: a worker that
    // ran a failure routine may still hold it.
    if (TransferLink)
        TransferLink->close();
}
