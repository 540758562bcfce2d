#pragma once
// The RS-232 link: an open serial port with the time-outs its side set up.

#include "platform/posix/serial_port.h"
#include "transfer/core/link.h"

namespace plotwell::transfer {

class SerialLink : public Link {
public:
    // Takes over an open port; its time-outs bound every read and write.
    explicit SerialLink(platform::SerialPort port) : port_(std::move(port)) {}

    using Link::write;
    LinkKind kind() const override { return LinkKind::Serial; }
    bool isOpen() const override { return port_.isOpen(); }
    IoResult write(const void* data, std::size_t n) override;
    IoResult read(void* data, std::size_t max) override;
    // Byte by byte up to the line feed; a byte that does not come within the port's read
    // time-out is a failure.
    IoResult readReply(std::string& reply, std::size_t gpibCount) override;
    void discardInput() override { port_.flushInput(); }
    IoResult checkConnected() override;
    void close() override { port_.close(); }
    platform::SerialPort& port() { return port_; }

private:
    platform::SerialPort port_;
};

} // namespace plotwell::transfer
