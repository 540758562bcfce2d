#include "transfer/core/tcp_link.h"

#include "common/numtext.h"
#include "platform/posix/sleeper.h"

#include <algorithm>

namespace plotwell::transfer {

std::unique_ptr<TcpLink> TcpLink::connect(const std::string& host, const std::string& port,
                                          const LinkDeadlines& deadlines) {
    const auto p = common::parseInt(port);
    if (!p || *p < 1 || *p > 65535 || host.empty())
        return nullptr;
    auto link = std::make_unique<TcpLink>(deadlines);
    if (!link->socket_.connect(host, *p, deadlines.tcpConnect))
        return nullptr;
    return link;
}

IoResult TcpLink::write(const void* data, std::size_t n) {
    const std::size_t sent = socket_.send(data, n, deadlines().tcpWrite);
    return {sent == n ? IoStatus::Ok : IoStatus::Short, sent};
}

IoResult TcpLink::readWithin(void* data, std::size_t max, std::chrono::milliseconds wait) {
    if (!socket_.waitReadable(wait))
        return {IoStatus::Timeout, 0};
    const long r = socket_.receive(data, max);
    if (r < 0)
        return {IoStatus::Error, 0};
    return {IoStatus::Ok, std::size_t(r)}; // 0: the instrument closed the connection
}

IoResult TcpLink::read(void* data, std::size_t max) {
    return readWithin(data, max, deadlines().tcpData);
}

IoResult TcpLink::readReplyBytes(void* data, std::size_t n) {
    // The instrument answers a block's header as it answers a query, so its bytes get the
    // reply wait; the data after it get the data wait.
    return readAll(data, n, [this](void* into, std::size_t max) {
        return readWithin(into, max, deadlines().tcpReplyByte);
    });
}

IoResult TcpLink::readReply(std::string& reply, std::size_t) {
    // Each byte is awaited on its own; a wait that ends without data, or a closed
    // connection, ends the reply with what has arrived. The whole line has a deadline
    // too: a wait that it cuts short ends the read as a failure. The first byte's wait
    // is cut only when the line's deadline is the shorter of the two, so a silent
    // instrument still ends with an empty reply.
    using std::chrono::milliseconds;
    const milliseconds perByte = deadlines().tcpReplyByte;
    auto& clock = platform::clock();
    const auto deadline = clock.now() + deadlines().tcpReply;
    bool cut = false;
    IoResult r = readLineBytewise(
        reply,
        [&](char& c) {
            milliseconds wait = perByte;
            if (reply.empty()) {
                cut = deadlines().tcpReply < perByte;
                wait = std::min(wait, deadlines().tcpReply);
            } else {
                const auto left = std::chrono::ceil<milliseconds>(deadline - clock.now());
                cut = left < perByte;
                wait = std::clamp(left, milliseconds(0), perByte);
            }
            if (!socket_.waitReadable(wait))
                return cut ? -1 : 0;
            const long got = socket_.receive(&c, 1);
            return got == 1 ? 1 : 0;
        },
        false);
    if (r.status == IoStatus::Error && cut)
        r.status = IoStatus::Timeout;
    return r;
}

} // namespace plotwell::transfer
