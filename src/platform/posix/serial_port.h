#pragma once
// Serial ports on POSIX termios, in place of the Windows communications API.
//
//   SerialPort port;
//   if (!port.open("/dev/ttyUSB0"))            // exclusive: TIOCEXCL and flock(LOCK_EX)
//       report(port.lastError());              // EBUSY/EWOULDBLOCK when another holder has it
//   port.applySettings({9600, 8, Parity::None, StopBits::One, FlowControl::XonXoff});
//   port.setTimeouts({0, 0, 10000, 30, 40000}); // like COMMTIMEOUTS, in ms
//   port.write("*idn?\n", 6);                  // returns the bytes written before the deadline
//   long n = port.read(buf, 256);              // returns when 256 arrived or the deadline passed
//   port.close();                              // drains (bounded), releases the lock
//
// The line is always raw: no echo, no CR/LF translation, no signals, 8-bit clean. Reads
// and writes never wait without a deadline: a total time-out of 0 means "what is there
// now". Every failing call leaves its errno in lastError().

#include <cstddef>
#include <string>
#include <vector>

struct termios;

namespace plotwell::platform {

enum class Parity { None, Odd, Even };
enum class StopBits { One, OneAndHalf, Two };
enum class FlowControl { None, XonXoff, RtsCts };

// The line settings of a port (the part of a Windows DCB that the program uses).
struct SerialLineSettings {
    int baudRate = 9600; // bits per second; anything not supported fails applySettings
    int byteSize = 8;    // 5..8
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    FlowControl flowControl = FlowControl::None;

    bool operator==(const SerialLineSettings&) const = default;
};

// Time-outs in milliseconds with the meaning of COMMTIMEOUTS:
//   a read of n bytes ends after readTotalMultiplier * n + readTotalConstant ms, or when
//   more than readInterval ms pass between two bytes (0: no interval limit);
//   a write of n bytes ends after writeTotalMultiplier * n + writeTotalConstant ms.
struct SerialTimeouts {
    int readInterval = 0;
    int readTotalMultiplier = 0;
    int readTotalConstant = 0;
    int writeTotalMultiplier = 0;
    int writeTotalConstant = 0;

    bool operator==(const SerialTimeouts&) const = default;
};

class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(SerialPort&& other) noexcept;
    SerialPort& operator=(SerialPort&& other) noexcept;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens `path` for reading and writing, for this holder alone. False when the device
    // cannot be opened or another holder has it (lastError() tells which). The line is put
    // in raw mode at once; its speed and framing stay until applySettings.
    bool open(const std::string& path);
    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    int fd() const { return fd_; }

    // Reads the line settings the device has now (GetCommState).
    bool getSettings(SerialLineSettings& out);
    // Sets speed, framing and flow control in raw mode (SetCommState). False, with EINVAL,
    // for a speed or byte size the line cannot take.
    bool applySettings(const SerialLineSettings& s);
    void setTimeouts(const SerialTimeouts& t) { timeouts_ = t; }
    const SerialTimeouts& timeouts() const { return timeouts_; }

    // Reads up to `n` bytes within the read deadline. Returns the count (0 when nothing
    // came), or -1 on an error of the device.
    long read(void* buffer, std::size_t n);
    // Writes `n` bytes within the write deadline. Returns the count written, or -1.
    long write(const void* buffer, std::size_t n);
    long write(const std::string& bytes) { return write(bytes.data(), bytes.size()); }
    // Waits until the output has left, at most `timeoutMs`. False when it had not.
    bool drain(int timeoutMs);
    // Discards bytes received and not yet read.
    void flushInput();
    // Whether the line has hung up (the device is gone), as far as the system can tell now.
    bool hungUp() const;
    // Drains for at most the write time-out constant (at least one second) and closes.
    void close();

    int lastError() const { return lastError_; }

private:
    bool fail();
    long transfer(bool reading, unsigned char* data, std::size_t n, long long totalMs, int intervalMs);

    int fd_ = -1;
    std::string path_;
    SerialTimeouts timeouts_;
    int lastError_ = 0;
};

// The system's text for an errno value.
std::string systemErrorText(int error);

// The serial ports the program offers, by device path: the paths in PLOTWELL_SERIAL_PORTS
// (separated by ':') when it is set, else the existing /dev/ttyS*, /dev/ttyUSB* and
// /dev/ttyACM*, each group in ascending port number. A ttyS* whose UART the kernel
// reports as absent is left out.
std::vector<std::string> listSerialPorts();

// Speeds the line can be set to.
bool isSupportedBaudRate(int baud);

namespace detail {
// Raw mode, framing and flow control of `s` written into `t` (speed aside). Kept visible
// because a pseudo-terminal forces 8 data bits and no parity, so the framing can only be
// checked here.
void setLineFlags(termios& t, const SerialLineSettings& s);
} // namespace detail

} // namespace plotwell::platform
