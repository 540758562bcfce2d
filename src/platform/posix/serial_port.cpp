#include "platform/posix/serial_port.h"

#include "platform/posix/serial_baud_linux.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace plotwell::platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

struct SpeedCode {
    int baud;
    speed_t code;
};

// Speeds with a termios constant; the others go through the kernel's custom-rate call.
constexpr SpeedCode kSpeeds[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool speedCode(int baud, speed_t& code) {
    for (const auto& s : kSpeeds)
        if (s.baud == baud) {
            code = s.code;
            return true;
        }
    return false;
}

int baudOf(speed_t code) {
    for (const auto& s : kSpeeds)
        if (s.code == code)
            return s.baud;
    return -1;
}

// Milliseconds left until `deadline`, rounded up so that a poll does not wake early.
int msUntil(SteadyClock::time_point deadline) {
    const auto left = deadline - SteadyClock::now();
    if (left <= SteadyClock::duration::zero())
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return int(std::min<long long>(ms, 1LL << 30));
}

SteadyClock::time_point deadlineAfter(long long ms) {
    return SteadyClock::now() + std::chrono::milliseconds(std::max(0LL, ms));
}

void makeRaw(termios& t) {
    t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    t.c_oflag &= ~tcflag_t(OPOST);
    t.c_lflag &= ~tcflag_t(ECHO | ECHONL | ECHOE | ECHOK | ICANON | ISIG | IEXTEN);
    t.c_cflag |= CREAD | CLOCAL;
    // Time-outs are ours (poll), not the line discipline's.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

// Natural order within one group of device names: ttyS2 before ttyS10.
long portNumber(const std::string& name, std::size_t prefixLength) {
    const std::string digits = name.substr(prefixLength);
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::strtol(digits.c_str(), nullptr, 10);
}

// The kernel lists every ttyS line it could have; a UART type of 0 means nothing is there.
bool uartPresent(const std::string& name) {
    std::ifstream f("/sys/class/tty/" + name + "/type");
    int type = -1;
    if (!(f >> type))
        return true; // cannot tell: offer it
    return type != 0;
}

} // namespace

namespace detail {

void setLineFlags(termios& t, const SerialLineSettings& s) {
    makeRaw(t);

    if (s.byteSize >= 5 && s.byteSize <= 8) {
        static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
        t.c_cflag &= ~tcflag_t(CSIZE);
        t.c_cflag |= kSizes[s.byteSize - 5];
    }

    t.c_cflag &= ~tcflag_t(PARENB | PARODD);
    t.c_iflag &= ~tcflag_t(INPCK);
    if (s.parity != Parity::None) {
        t.c_cflag |= PARENB;
        t.c_iflag |= INPCK;
        if (s.parity == Parity::Odd)
            t.c_cflag |= PARODD;
    }

    // One and a half stop bits exist only with 5 data bits; the line gives two.
    if (s.stopBits == StopBits::One)
        t.c_cflag &= ~tcflag_t(CSTOPB);
    else
        t.c_cflag |= CSTOPB;

    t.c_cflag &= ~tcflag_t(CRTSCTS);
    t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    if (s.flowControl == FlowControl::XonXoff) {
        t.c_iflag |= IXON | IXOFF;
        t.c_cc[VSTART] = 0x11;
        t.c_cc[VSTOP] = 0x13;
    } else if (s.flowControl == FlowControl::RtsCts) {
        t.c_cflag |= CRTSCTS;
    }
}

} // namespace detail

SerialPort::~SerialPort() {
    close();
}

SerialPort::SerialPort(SerialPort&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), timeouts_(other.timeouts_),
      lastError_(other.lastError_) {
    other.fd_ = -1;
}

SerialPort& SerialPort::operator=(SerialPort&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        timeouts_ = other.timeouts_;
        lastError_ = other.lastError_;
        other.fd_ = -1;
    }
    return *this;
}

bool SerialPort::fail() {
    lastError_ = errno;
    return false;
}

bool SerialPort::open(const std::string& path) {
    close();
    lastError_ = 0;
    // Only a character device is opened at all: the path comes from a settings file, and
    // opening some other file for writing is not harmless (a FIFO, a watchdog, ...).
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return fail();
    if (!S_ISCHR(st.st_mode)) {
        lastError_ = ENOTTY;
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail();
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        lastError_ = errno;
        ::close(fd);
        return false;
    }
    // TIOCEXCL keeps other openers out, but not root; the lock keeps out every program
    // that locks as we do.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        lastError_ = (errno == EWOULDBLOCK) ? EBUSY : errno;
        ::close(fd);
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    makeRaw(t);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        lastError_ = errno;
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    return true;
}

bool SerialPort::getSettings(SerialLineSettings& out) {
    termios t{};
    if (fd_ < 0) {
        lastError_ = EBADF;
        return false;
    }
    if (::tcgetattr(fd_, &t) != 0)
        return fail();
    int baud = baudOf(::cfgetospeed(&t));
    if (baud < 0)
        baud = detail::customBaudRate(fd_);
    out.baudRate = baud;
    switch (t.c_cflag & CSIZE) {
    case CS5:
        out.byteSize = 5;
        break;
    case CS6:
        out.byteSize = 6;
        break;
    case CS7:
        out.byteSize = 7;
        break;
    default:
        out.byteSize = 8;
        break;
    }
    out.parity = !(t.c_cflag & PARENB) ? Parity::None : (t.c_cflag & PARODD) ? Parity::Odd : Parity::Even;
    out.stopBits = (t.c_cflag & CSTOPB) ? StopBits::Two : StopBits::One;
    if (t.c_cflag & CRTSCTS)
        out.flowControl = FlowControl::RtsCts;
    else if (t.c_iflag & (IXON | IXOFF))
        out.flowControl = FlowControl::XonXoff;
    else
        out.flowControl = FlowControl::None;
    return true;
}

bool SerialPort::applySettings(const SerialLineSettings& s) {
    if (fd_ < 0) {
        lastError_ = EBADF;
        return false;
    }
    if (!isSupportedBaudRate(s.baudRate) || s.byteSize < 5 || s.byteSize > 8) {
        lastError_ = EINVAL;
        return false;
    }
    termios t{};
    if (::tcgetattr(fd_, &t) != 0)
        return fail();
    detail::setLineFlags(t, s);

    speed_t code = B9600;
    const bool standard = speedCode(s.baudRate, code);
    if (standard) {
        ::cfsetispeed(&t, code);
        ::cfsetospeed(&t, code);
    }
    if (::tcsetattr(fd_, TCSANOW, &t) != 0)
        return fail();
    if (!standard && detail::setCustomBaudRate(fd_, s.baudRate) != 0)
        return fail();
    if (s.flowControl == FlowControl::None) {
        // Without handshake RTS stays asserted (there is no toggling RTS in termios). A
        // line without modem lines, such as a pseudo-terminal, refuses this harmlessly.
        int bits = TIOCM_RTS;
        ::ioctl(fd_, TIOCMBIS, &bits);
    }
    return true;
}

long SerialPort::read(void* buffer, std::size_t n) {
    const long long total =
        static_cast<long long>(timeouts_.readTotalMultiplier) * static_cast<long long>(n) +
        timeouts_.readTotalConstant;
    return transfer(true, static_cast<unsigned char*>(buffer), n, total, timeouts_.readInterval);
}

long SerialPort::write(const void* buffer, std::size_t n) {
    const long long total =
        static_cast<long long>(timeouts_.writeTotalMultiplier) * static_cast<long long>(n) +
        timeouts_.writeTotalConstant;
    // The buffer is only read from: transfer() writes through it only when reading.
    return transfer(false, static_cast<unsigned char*>(const_cast<void*>(buffer)), n, total, 0);
}

// Both directions: move bytes while the device gives or takes them, and wait for it
// with poll() until the deadline (or the gap after the last byte) has passed.
long SerialPort::transfer(bool reading, unsigned char* data, std::size_t n, long long totalMs,
                          int intervalMs) {
    if (fd_ < 0) {
        lastError_ = EBADF;
        return -1;
    }
    const short event = reading ? POLLIN : POLLOUT;
    const auto deadline = deadlineAfter(totalMs);
    SteadyClock::time_point intervalEnd = SteadyClock::time_point::max();
    std::size_t done = 0;
    auto failed = [&](int error) {
        lastError_ = error;
        return done > 0 ? long(done) : -1L;
    };
    while (done < n) {
        const ssize_t r = reading ? ::read(fd_, data + done, n - done) : ::write(fd_, data + done, n - done);
        if (r > 0) {
            done += std::size_t(r);
            if (intervalMs > 0)
                intervalEnd = deadlineAfter(intervalMs);
            continue;
        }
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 && errno != EAGAIN)
            return failed(errno);
        const int wait = msUntil(std::min(deadline, intervalEnd));
        if (wait == 0)
            break;
        pollfd p{fd_, event, 0};
        const int pr = ::poll(&p, 1, wait);
        if (pr < 0 && errno == EINTR)
            continue;
        if (pr < 0)
            return failed(errno);
        if (pr == 0)
            break;
        if ((p.revents & (POLLHUP | POLLERR | POLLNVAL)) && !(p.revents & event))
            return failed(EIO);
    }
    return long(done);
}

bool SerialPort::drain(int timeoutMs) {
    if (fd_ < 0)
        return true;
    // tcdrain() could wait for ever on a line held by its handshake; watch the queue instead.
    const auto deadline = deadlineAfter(timeoutMs);
    for (;;) {
        int queued = 0;
        if (::ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0)
            return true;
        if (msUntil(deadline) == 0)
            return false;
        ::poll(nullptr, 0, 2);
    }
}

void SerialPort::flushInput() {
    if (fd_ >= 0)
        ::tcflush(fd_, TCIFLUSH);
}

bool SerialPort::hungUp() const {
    if (fd_ < 0)
        return true;
    // A hang-up is reported whatever is asked for.
    pollfd p{fd_, 0, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

void SerialPort::close() {
    if (fd_ < 0)
        return;
    // The last command ("local") must really leave before the line is let go; output
    // that cannot leave is dropped so that close() itself cannot hang on it.
    if (!drain(std::max(timeouts_.writeTotalConstant, 1000)))
        ::tcflush(fd_, TCOFLUSH);
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_); // releases the lock too
    fd_ = -1;
    path_.clear();
}

std::string systemErrorText(int error) {
    char buf[256] = {};
    // GNU strerror_r may return a static text instead of filling the buffer.
    const char* text = ::strerror_r(error, buf, sizeof buf);
    return text ? std::string(text) : std::string();
}

bool isSupportedBaudRate(int baud) {
    speed_t code;
    return speedCode(baud, code) || detail::customBaudRatesSupported(baud);
}

std::vector<std::string> listSerialPorts() {
    std::vector<std::string> out;
    if (const char* env = std::getenv("PLOTWELL_SERIAL_PORTS")) {
        std::string cur;
        for (const char* p = env;; ++p) {
            if (*p == ':' || *p == '\0') {
                if (!cur.empty())
                    out.push_back(cur);
                cur.clear();
                if (*p == '\0')
                    break;
            } else {
                cur += *p;
            }
        }
        return out;
    }
    static constexpr const char* kGroups[] = {"ttyS", "ttyUSB", "ttyACM"};
    std::vector<std::pair<long, std::string>> found[3];
    if (DIR* dir = ::opendir("/dev")) {
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            for (int g = 0; g < 3; ++g) {
                const std::size_t len = std::strlen(kGroups[g]);
                if (name.compare(0, len, kGroups[g]) != 0)
                    continue;
                const long number = portNumber(name, len);
                if (number < 0)
                    continue;
                if (g == 0 && !uartPresent(name))
                    continue;
                found[g].emplace_back(number, "/dev/" + name);
            }
        }
        ::closedir(dir);
    }
    for (auto& group : found) {
        std::sort(group.begin(), group.end());
        for (auto& entry : group)
            out.push_back(entry.second);
    }
    return out;
}

} // namespace plotwell::platform
