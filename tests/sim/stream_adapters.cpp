#include "sim/adapters.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace plotwell::sim {

namespace {
// Sends what the instrument has ready; false when the peer is gone. A peer that reads
// nothing fills the line, so each write waits for room only briefly and gives up when the
// adapter is stopped.
bool sendReady(Instrument& inst, int fd, bool socket, const std::atomic<bool>& stop) {
    for (;;) {
        const std::string out = inst.take(65536);
        if (out.empty())
            return true;
        std::size_t sent = 0;
        while (sent < out.size()) {
            if (stop)
                return true;
            pollfd p{fd, POLLOUT, 0};
            const int ready = ::poll(&p, 1, 2);
            if (ready < 0 && errno != EINTR)
                return false;
            if (ready <= 0)
                continue;
            if (p.revents & (POLLERR | POLLHUP | POLLNVAL))
                return false;
            const ssize_t r =
                socket ? ::send(fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT)
                       : ::write(fd, out.data() + sent, out.size() - sent);
            if (r > 0)
                sent += std::size_t(r);
            else if (!(r < 0 && (errno == EINTR || errno == EAGAIN)))
                return false;
        }
    }
}
} // namespace

// ---- TCP -------------------------------------------------------------------------------

TcpAdapter::TcpAdapter(Instrument& instrument) : inst_(instrument) {
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(listen_, 4) != 0)
        throw std::runtime_error("simulated TCP instrument cannot listen");
    socklen_t len = sizeof a;
    ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { run(); });
}

TcpAdapter::~TcpAdapter() {
    stop_ = true;
    thread_.join();
    ::close(listen_);
}

void TcpAdapter::run() {
    int client = -1;
    char buf[65536];
    while (!stop_) {
        pollfd p{client >= 0 ? client : listen_, POLLIN, 0};
        const int r = ::poll(&p, 1, 2);
        if (client < 0) {
            if (r > 0) {
                client = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
                if (client >= 0) {
                    ++connections_;
                    inst_.control("connect");
                }
            }
            continue;
        }
        if (r > 0) {
            const ssize_t n = ::recv(client, buf, sizeof buf, 0);
            if (n <= 0) {
                inst_.control("disconnect");
                ::close(client);
                client = -1;
                continue;
            }
            inst_.receive(std::string_view(buf, std::size_t(n)));
        }
        if (!sendReady(inst_, client, true, stop_) || inst_.dropped()) {
            inst_.control("drop");
            ::close(client);
            client = -1;
        }
    }
    if (client >= 0)
        ::close(client);
}

RefusingPort::RefusingPort() {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
        throw std::runtime_error("no port to refuse connections on");
    socklen_t len = sizeof a;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
}

RefusingPort::~RefusingPort() {
    ::close(fd_);
}

// ---- pseudo-terminal ---------------------------------------------------------------------

PtyAdapter::PtyAdapter(Instrument& instrument) : inst_(instrument) {
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("simulated serial instrument has no pseudo-terminal");
    // Raw on both sides until the program sets its own parameters: no echo, no line
    // editing, no newline translation.
    termios t{};
    ::tcgetattr(slave_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(slave_, TCSANOW, &t);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    // The adapter's thread must never block on the line: it waits in poll() instead.
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    path_ = name;
    ::setenv("PLOTWELL_SERIAL_PORTS", path_.c_str(), 1);
    thread_ = std::thread([this] { run(); });
}

PtyAdapter::~PtyAdapter() {
    stop_ = true;
    thread_.join();
    if (master_ >= 0)
        ::close(master_);
    ::close(slave_);
    ::unsetenv("PLOTWELL_SERIAL_PORTS");
}

void PtyAdapter::run() {
    char buf[4096];
    while (!stop_ && master_ >= 0) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 2) > 0 && (p.revents & POLLIN)) {
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0)
                inst_.receive(std::string_view(buf, std::size_t(n)));
        }
        if (!sendReady(inst_, master_, false, stop_) || inst_.dropped()) {
            // The cable is pulled: the program's side sees the line hang up.
            inst_.control("drop");
            ::close(master_);
            master_ = -1;
        }
    }
}

} // namespace plotwell::sim
