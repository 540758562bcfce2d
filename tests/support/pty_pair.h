#pragma once
// A pseudo-terminal pair standing in for a serial line in tests: the program opens the
// slave by its path (offered through PLOTWELL_SERIAL_PORTS); the test talks through the
// master and keeps its own descriptor of the slave to read back the line settings.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

class PtyPair {
public:
    PtyPair() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            return;
        char name[128] = {};
        if (::ptsname_r(master_, name, sizeof name) != 0)
            return;
        slavePath_ = name;
        // Held open so that the line survives the program's close and can be inspected.
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        int flags = ::fcntl(master_, F_GETFL);
        ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    }
    ~PtyPair() {
        if (slave_ >= 0)
            ::close(slave_);
        if (master_ >= 0)
            ::close(master_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && slave_ >= 0; }
    const std::string& slavePath() const { return slavePath_; }
    int master() const { return master_; }

    // The line settings as the program left them.
    termios slaveTermios() const {
        termios t{};
        ::tcgetattr(slave_, &t);
        return t;
    }

    // Plays another program that holds the port.
    bool lockSlave() { return ::flock(slave_, LOCK_EX | LOCK_NB) == 0; }
    void unlockSlave() { ::flock(slave_, LOCK_UN); }

    void send(const std::string& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t w = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (w > 0)
                done += std::size_t(w);
            else if (errno != EAGAIN && errno != EINTR)
                return;
        }
    }

    // Waits until bytes sent through the master can be read on the program's side (the
    // pseudo-terminal hands them over asynchronously), at most `ms`.
    bool waitForInput(int ms = 5000) const {
        pollfd p{slave_, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0 && (p.revents & POLLIN);
    }

    // Reads what the program sent until `n` bytes came or `ms` passed.
    std::string receive(std::size_t n, int ms = 5000) const {
        std::string out;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (out.size() < n) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now())
                    .count();
            if (left <= 0)
                break;
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, int(left)) <= 0)
                break;
            char buf[4096];
            const ssize_t r = ::read(master_, buf, std::min(sizeof buf, n - out.size()));
            if (r > 0)
                out.append(buf, std::size_t(r));
            else if (r < 0 && errno != EAGAIN && errno != EINTR)
                break;
        }
        return out;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};
