#pragma once
// The LAN link: a TCP connection to an instrument, used within one transfer.

#include "platform/posix/tcp_socket.h"
#include "transfer/core/link.h"

#include <memory>

namespace plotwell::transfer {

class TcpLink : public Link {
public:
    explicit TcpLink(const LinkDeadlines& deadlines) : Link(deadlines) {}
    // Connects within the connect deadline; null when no connection could be made.
    // The port text is taken as a decimal number.
    static std::unique_ptr<TcpLink> connect(const std::string& host, const std::string& port,
                                            const LinkDeadlines& deadlines);

    using Link::write;
    LinkKind kind() const override { return LinkKind::Tcp; }
    bool isOpen() const override { return socket_.isOpen(); }
    IoResult write(const void* data, std::size_t n) override;
    IoResult read(void* data, std::size_t max) override;
    IoResult readReply(std::string& reply, std::size_t gpibCount) override;
    IoResult readReplyBytes(void* data, std::size_t n) override;
    IoResult checkConnected() override { return {socket_.peerGone() ? IoStatus::Error : IoStatus::Ok, 0}; }
    void close() override { socket_.close(); }
    // Waits up to `ms` for data; false when nothing came.
    bool waitForData(std::chrono::milliseconds ms) { return socket_.waitReadable(ms); }

private:
    // One read of at most `max` bytes of what has come within `wait`.
    IoResult readWithin(void* data, std::size_t max, std::chrono::milliseconds wait);

    platform::TcpSocket socket_;
};

} // namespace plotwell::transfer
