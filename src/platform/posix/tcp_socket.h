#pragma once
// A TCP client socket with a deadline on every wait: connect, send and receive never
// block longer than they are told, and a write to a closed peer fails instead of
// raising SIGPIPE.

#include <chrono>
#include <cstddef>
#include <string>

namespace plotwell::platform {

class TcpSocket {
public:
    using Ms = std::chrono::milliseconds;

    TcpSocket() = default;
    ~TcpSocket() { close(); }
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Connects to host:port within `timeout`. False with error() set on failure.
    bool connect(const std::string& host, int port, Ms timeout);
    bool isOpen() const { return fd_ >= 0; }
    // Sends all bytes, waiting at most `timeout` for room; returns the bytes sent.
    std::size_t send(const void* data, std::size_t n, Ms timeout);
    // Waits until data (or the peer's close) can be read; false when the time ran out.
    bool waitReadable(Ms timeout);
    // Takes what has arrived, up to `max` bytes, without waiting: >0 bytes, 0 when the
    // peer closed, -1 when nothing is there or the connection failed.
    long receive(void* data, std::size_t max);
    // Whether the peer has closed or reset the connection, as far as can be told now
    // without reading what it sent.
    bool peerGone() const;
    void close();
    const std::string& error() const { return error_; }

private:
    int fd_ = -1;
    std::string error_;
};

} // namespace plotwell::platform
