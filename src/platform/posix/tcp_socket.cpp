#include "platform/posix/tcp_socket.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace plotwell::platform {

namespace {
using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : int(left);
}

// Waits for `events` until the deadline; EINTR restarts with the time that is left.
bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, remainingMs(deadline));
        if (r > 0)
            return true;
        if (r == 0)
            return false;
        if (errno != EINTR)
            return false;
    }
}
} // namespace

bool TcpSocket::connect(const std::string& host, int port, Ms timeout) {
    close();
    error_.clear();
    if (port < 1 || port > 65535) {
        error_ = "invalid port";
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    const std::string service = std::to_string(port);
    if (const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list); rc != 0) {
        error_ = gai_strerror(rc);
        return false;
    }
    const auto deadline = Clock::now() + timeout;
    for (addrinfo* a = list; a && fd_ < 0; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0)
            continue;
        int rc = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (rc != 0 && errno == EINPROGRESS) {
            if (waitFor(fd, POLLOUT, deadline)) {
                int soError = 0;
                socklen_t len = sizeof soError;
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len);
                rc = soError == 0 ? 0 : -1;
                errno = soError;
            } else {
                errno = ETIMEDOUT;
            }
        }
        if (rc == 0)
            fd_ = fd;
        else {
            error_ = std::strerror(errno);
            ::close(fd);
        }
    }
    ::freeaddrinfo(list);
    return fd_ >= 0;
}

std::size_t TcpSocket::send(const void* data, std::size_t n, Ms timeout) {
    if (fd_ < 0)
        return 0;
    const auto deadline = Clock::now() + timeout;
    const char* p = static_cast<const char*>(data);
    std::size_t sent = 0;
    while (sent < n) {
        const ssize_t r = ::send(fd_, p + sent, n - sent, MSG_NOSIGNAL);
        if (r > 0) {
            sent += std::size_t(r);
            continue;
        }
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waitFor(fd_, POLLOUT, deadline))
            continue;
        break;
    }
    return sent;
}

bool TcpSocket::waitReadable(Ms timeout) {
    return fd_ >= 0 && waitFor(fd_, POLLIN, Clock::now() + timeout);
}

long TcpSocket::receive(void* data, std::size_t max) {
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t r = ::recv(fd_, data, max, 0);
        if (r >= 0)
            return long(r);
        if (errno != EINTR)
            return -1;
    }
}

bool TcpSocket::peerGone() const {
    if (fd_ < 0)
        return true;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0)
        return false;
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL))
        return true;
    // Readable: the peer's close, a reset, or bytes it sent (which stay unread).
    char c = 0;
    const ssize_t r = ::recv(fd_, &c, 1, MSG_PEEK | MSG_DONTWAIT);
    return r == 0 || (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
}

void TcpSocket::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace plotwell::platform
