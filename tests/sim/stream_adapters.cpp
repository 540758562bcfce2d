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
// Sends what the instrument has ready, as much as the line takes now; false when the peer
// is gone. What does not fit waits in `pending` for the next turn, so that the instrument
// goes on reading while a peer that reads nothing keeps its line full, as an instrument
// does.
bool sendReady(Instrument& inst, int fd, bool socket, std::string& pending) {
    for (;;) {
        if (pending.empty())
            pending = inst.take(65536);
        if (pending.empty())
            return true;
        const ssize_t r = socket ? ::send(fd, pending.data(), pending.size(), MSG_NOSIGNAL | MSG_DONTWAIT)
                                 : ::write(fd, pending.data(), pending.size());
        if (r > 0)
            pending.erase(0, std::size_t(r));
        else if (r < 0 && errno == EAGAIN)
            return true;
        else if (!(r < 0 && errno == EINTR))
            return false;
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
    std::string pending;
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
                pending.clear();
                continue;
            }
            inst_.receive(std::string_view(buf, std::size_t(n)));
        }
        if (!sendReady(inst_, client, true, pending) || (pending.empty() && inst_.dropped())) {
            inst_.control("drop");
            ::close(client);
            client = -1;
            pending.clear();
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
    std::string pending;
    while (!stop_ && master_ >= 0) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 2) > 0 && (p.revents & POLLIN)) {
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0)
                inst_.receive(std::string_view(buf, std::size_t(n)));
        }
        if (!sendReady(inst_, master_, false, pending) || (pending.empty() && inst_.dropped())) {
            // The cable is pulled: the program's side sees the line hang up.
            inst_.control("drop");
            ::close(master_);
            master_ = -1;
        }
    }
}

} // namespace plotwell::sim
