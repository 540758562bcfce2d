#pragma once
// Links through the two driver libraries: a GPIB device (unit descriptor) and a USB
// device (driver handle).

#include "transfer/core/instrument_libraries.h"
#include "transfer/core/link.h"

#include <memory>

namespace plotwell::transfer {

class GpibLink : public Link {
public:
    GpibLink(const GpibEntryPoints& entry, int device, const LinkDeadlines& deadlines)
        : Link(deadlines), e_(entry), ud_(device) {}
    ~GpibLink() override { close(); }
    // ibdev(board, pad, 0, tmo, no EOI, no end-of-string). Null when the driver refuses;
    // the caller then reports "ibdev".
    static std::unique_ptr<GpibLink> open(const GpibEntryPoints& entry, int board, int pad, int tmo,
                                          const LinkDeadlines& deadlines);

    using Link::write;
    LinkKind kind() const override { return LinkKind::Gpib; }
    bool isOpen() const override { return open_; }
    IoResult write(const void* data, std::size_t n) override;
    IoResult read(void* data, std::size_t max) override;
    IoResult readReply(std::string& reply, std::size_t gpibCount) override;
    void close() override;
    void clear() override;
    void setTimeout(int code) override;
    int device() const { return ud_; }

private:
    bool failed() const { return (*e_.user_ibsta & kGpibErr) != 0; }
    const GpibEntryPoints& e_;
    int ud_;
    bool open_ = true;
};

class UsbLink : public Link {
public:
    // Takes the device that `handle` names now.
    UsbLink(InstrumentLibraries& libs, int handle, const LinkDeadlines& deadlines)
        : Link(deadlines), libs_(libs), handle_(handle), opening_(libs.usbOpening(handle)) {}
    ~UsbLink() override { close(); }
    // AWG_Open(address, flags, &err). Null with `error` set when the driver refuses.
    static std::unique_ptr<UsbLink> open(InstrumentLibraries& libs, int address, int& error,
                                         const LinkDeadlines& deadlines);

    using Link::write;
    LinkKind kind() const override { return LinkKind::Usb; }
    bool isOpen() const override { return libs_.usbOpen(handle_, opening_); }
    IoResult write(const void* data, std::size_t n) override;
    IoResult read(void* data, std::size_t max) override;
    IoResult readReply(std::string& reply, std::size_t gpibCount) override;
    // Closes the device unless it was closed already (the handle may name another
    // device by now).
    void close() override { libs_.closeUsb(handle_, opening_); }
    int handle() const { return handle_; }

private:
    InstrumentLibraries& libs_;
    int handle_;
    unsigned long opening_;
};

} // namespace plotwell::transfer
