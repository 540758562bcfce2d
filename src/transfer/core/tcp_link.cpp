#include "transfer/core/tcp_link.h"

#include "common/numtext.h"

namespace plotwell::transfer {

std::unique_ptr<TcpLink> TcpLink::connect(const std::string& host, const std::string& port) {
    const auto p = common::parseInt(port);
    if (!p || *p < 1 || *p > 65535 || host.empty())
        return nullptr;
    auto link = std::make_unique<TcpLink>();
    if (!link->socket_.connect(host, *p, linkDeadlines().tcpConnect))
        return nullptr;
    return link;
}

IoResult TcpLink::write(const void* data, std::size_t n) {
    const std::size_t sent = socket_.send(data, n, linkDeadlines().tcpWrite);
    return {sent == n ? IoStatus::Ok : IoStatus::Short, sent};
}

IoResult TcpLink::read(void* data, std::size_t max) {
    if (!socket_.waitReadable(linkDeadlines().tcpData))
        return {IoStatus::Timeout, 0};
    const long r = socket_.receive(data, max);
    if (r < 0)
        return {IoStatus::Error, 0};
    return {IoStatus::Ok, std::size_t(r)}; // 0: the instrument closed the connection
}

IoResult TcpLink::readReply(std::string& reply, std::size_t) {
    // Each byte is awaited on its own; a wait that ends without data, or a closed
    // connection, ends the reply with what has arrived.
    const auto wait = linkDeadlines().tcpReplyByte;
    return readLineBytewise(
        reply,
        [&](char& c) {
            if (!socket_.waitReadable(wait))
                return 0;
            const long r = socket_.receive(&c, 1);
            return r == 1 ? 1 : 0;
        },
        false);
}

} // namespace plotwell::transfer
