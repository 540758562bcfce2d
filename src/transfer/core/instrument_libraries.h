#pragma once
// The GPIB and USB driver libraries loaded at run time, with their entry points.
// Each is loaded at most once and stays loaded until it is freed at exit.

#include "platform/posix/dynamic_library.h"
#include "transfer/core/instrument_abi.h"

#include <map>
#include <string>

namespace plotwell::transfer {

// Library files tried when no override is set, and the environment variables that
// override them. The forms read the variables and pass the file to load.
inline constexpr const char* kGpibLibraryDefault = "libgpib.so.0";
inline constexpr const char* kGpibLibraryVariable = "PLOTWELL_GPIB_LIBRARY";
inline constexpr const char* kUsbLibraryDefault = "libawgusb.so";
inline constexpr const char* kUsbLibraryVariable = "PLOTWELL_USB_LIBRARY";

struct GpibEntryPoints {
    // Addresses of the library's own status, error and count words: read them after
    // each call, never keep their values.
    int* user_ibsta = nullptr;
    int* user_iberr = nullptr;
    int* user_ibcnt = nullptr;
    GpibIbclr ibclr = nullptr;
    GpibIbdev ibdev = nullptr;
    GpibIbonl ibonl = nullptr;
    GpibIbrd ibrd = nullptr;
    GpibIbtmo ibtmo = nullptr;
    GpibIbloc ibloc = nullptr;
    GpibIbwrt ibwrt = nullptr;
};

struct UsbEntryPoints {
    UsbAwgVersion AWG_Version = nullptr; // optional
    UsbAwgGetDevices AWG_GetDevices = nullptr;
    UsbAwgOpen AWG_Open = nullptr;
    UsbAwgClose AWG_Close = nullptr;
    UsbAwgWrite AWG_Write = nullptr;
    UsbAwgInQ AWG_InQ = nullptr;
    UsbAwgRead AWG_Read = nullptr;
};

class InstrumentLibraries {
public:
    // Loads the GPIB library from `file` unless one is loaded already. On failure nothing
    // stays loaded and gpibFile() names the file tried.
    bool loadGpib(const std::string& file);
    bool loadUsb(const std::string& file);
    bool gpibLoaded() const { return gpibLib_.isOpen(); }
    bool usbLoaded() const { return usbLib_.isOpen(); }
    // The file of the last attempt (loaded or not).
    const std::string& gpibFile() const { return gpibFile_; }
    const std::string& usbFile() const { return usbFile_; }
    const GpibEntryPoints& gpib() const { return gpib_; }
    const UsbEntryPoints& usb() const { return usb_; }
    void freeGpib();
    void freeUsb();

    // The GPIB error word, or 0 when the library is not loaded.
    int gpibError() const { return gpib_.user_iberr ? *gpib_.user_iberr : 0; }

    // USB devices: a handle is closed once. A second close of the same handle (the error
    // report closes it, then the transfer's own ending) is skipped.
    int openUsb(int address, int& error);
    void closeUsb(int handle);
    bool usbOpen(int handle) const { return openUsb_.count(handle) != 0; }
    // A driver may give a closed handle to the next device it opens. Each open is
    // numbered, so that whoever held the handle before can tell it is no longer theirs:
    // these close, or answer for, the handle only while it is still that open.
    unsigned long usbOpening(int handle) const;
    void closeUsb(int handle, unsigned long opening);
    bool usbOpen(int handle, unsigned long opening) const;

private:
    platform::DynamicLibrary gpibLib_, usbLib_;
    GpibEntryPoints gpib_;
    UsbEntryPoints usb_;
    std::string gpibFile_, usbFile_;
    std::map<int, unsigned long> openUsb_; // handle -> number of its open
    unsigned long usbOpenings_ = 0;
};

// Message texts of the libraries. `file` is the library file that was tried.
std::string gpibLoadFailureText(const std::string& file);
std::string usbLoadFailureText(const std::string& file);
std::string gpibErrorText(const std::string& function, int iberr);
// Text of a USB driver error code; empty for codes outside the table.
const char* UsbErrorCode(int code);
std::string usbErrorText(const std::string& function, int code);

} // namespace plotwell::transfer
