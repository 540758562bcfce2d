#include "transfer/core/instrument_libraries.h"

#include "common/numtext.h"

namespace plotwell::transfer {

using common::cformat;

namespace {
// The GPIB words carry the driver's "user_" names; the Linux GPIB library names them
// without the prefix.
int* statusWord(const platform::DynamicLibrary& lib, const char* name, const char* fallback) {
    if (void* p = lib.symbol(name))
        return static_cast<int*>(p);
    return static_cast<int*>(lib.symbol(fallback));
}
} // namespace

bool InstrumentLibraries::loadGpib(const std::string& file) {
    if (gpibLib_.isOpen())
        return true;
    gpibFile_ = file;
    platform::DynamicLibrary lib;
    if (!lib.open(gpibFile_))
        return false;
    GpibEntryPoints e;
    e.user_ibsta = statusWord(lib, "user_ibsta", "ibsta");
    e.user_iberr = statusWord(lib, "user_iberr", "iberr");
    e.user_ibcnt = statusWord(lib, "user_ibcnt", "ibcnt");
    e.ibclr = lib.function<GpibIbclr>("ibclr");
    e.ibdev = lib.function<GpibIbdev>("ibdev");
    e.ibonl = lib.function<GpibIbonl>("ibonl");
    e.ibrd = lib.function<GpibIbrd>("ibrd");
    e.ibtmo = lib.function<GpibIbtmo>("ibtmo");
    e.ibloc = lib.function<GpibIbloc>("ibloc");
    e.ibwrt = lib.function<GpibIbwrt>("ibwrt");
    if (!e.user_ibsta || !e.user_iberr || !e.user_ibcnt || !e.ibclr || !e.ibdev || !e.ibonl || !e.ibrd ||
        !e.ibtmo || !e.ibloc || !e.ibwrt)
        return false; // `lib` releases the library
    gpib_ = e;
    gpibLib_ = std::move(lib);
    return true;
}

bool InstrumentLibraries::loadUsb(const std::string& file) {
    if (usbLib_.isOpen())
        return true;
    usbFile_ = file;
    platform::DynamicLibrary lib;
    if (!lib.open(usbFile_))
        return false;
    UsbEntryPoints e;
    e.AWG_Version = lib.function<UsbAwgVersion>("AWG_Version");
    e.AWG_GetDevices = lib.function<UsbAwgGetDevices>("AWG_GetDevices");
    e.AWG_Open = lib.function<UsbAwgOpen>("AWG_Open");
    e.AWG_Close = lib.function<UsbAwgClose>("AWG_Close");
    e.AWG_Write = lib.function<UsbAwgWrite>("AWG_Write");
    e.AWG_InQ = lib.function<UsbAwgInQ>("AWG_InQ");
    e.AWG_Read = lib.function<UsbAwgRead>("AWG_Read");
    if (!e.AWG_GetDevices || !e.AWG_Open || !e.AWG_Close || !e.AWG_Write || !e.AWG_InQ || !e.AWG_Read)
        return false;
    usb_ = e;
    usbLib_ = std::move(lib);
    return true;
}

void InstrumentLibraries::freeGpib() {
    gpib_ = {};
    gpibLib_.close();
}

void InstrumentLibraries::freeUsb() {
    // Devices still open are closed before their driver goes.
    while (!openUsb_.empty())
        closeUsb(openUsb_.begin()->first);
    usb_ = {};
    usbLib_.close();
}

int InstrumentLibraries::openUsb(int address, int& error) {
    error = 0;
    if (!usb_.AWG_Open) {
        error = -8;
        return 0;
    }
    const int handle = usb_.AWG_Open(address, kUsbOpenFlags, &error);
    if (error == 0)
        openUsb_[handle] = ++usbOpenings_;
    return handle;
}

unsigned long InstrumentLibraries::usbOpening(int handle) const {
    const auto it = openUsb_.find(handle);
    return it == openUsb_.end() ? 0 : it->second;
}

bool InstrumentLibraries::usbOpen(int handle, unsigned long opening) const {
    return opening != 0 && usbOpening(handle) == opening;
}

void InstrumentLibraries::closeUsb(int handle, unsigned long opening) {
    if (usbOpen(handle, opening))
        closeUsb(handle);
}

void InstrumentLibraries::closeUsb(int handle) {
    auto it = openUsb_.find(handle);
    if (it == openUsb_.end())
        return;
    openUsb_.erase(it);
    if (usb_.AWG_Close)
        usb_.AWG_Close(handle);
}

std::string gpibLoadFailureText(const std::string& file) {
    return "Unable to read from the GPIB\nDynamic Link Library \"" + file + "\"\nThe GPIB is not available";
}

std::string usbLoadFailureText(const std::string& file) {
    return "Unable to read from the USB\nDynamic Link Library \"" + file + "\"\nThe USB is not available";
}

std::string gpibErrorText(const std::string& function, int iberr) {
    return cformat("GPIB error!\nFunction: %s\niberr = %d\n", function.c_str(), iberr);
}

const char* UsbErrorCode(int code) {
    static const char* const texts[] = {"Invalid address",
                                        "No devices found",
                                        "No device found at specified address",
                                        "Cannot open device for read",
                                        "Read error",
                                        "Cannot open device for write",
                                        "Write error",
                                        "Invalid AWGUSB.DLL file",
                                        "Out of system resources"};
    if (code <= -1 && code >= -9)
        return texts[-code - 1];
    return "";
}

std::string usbErrorText(const std::string& function, int code) {
    return cformat("USB error!\nFunction: %s\nusberr = %d: %s\n", function.c_str(), code, UsbErrorCode(code));
}

} // namespace plotwell::transfer
