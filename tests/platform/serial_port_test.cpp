#include "platform/posix/serial_port.h"

#include "support/pty_pair.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <termios.h>

using namespace plotwell::platform;

namespace {

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        ASSERT_TRUE(port.open(pty.slavePath())) << systemErrorText(port.lastError());
    }
    PtyPair pty;
    SerialPort port;
};

} // namespace

TEST(SerialLineFlags, FramingMapsOntoTermios) {
    termios t{};
    t.c_lflag = ICANON | ECHO;
    t.c_iflag = ICRNL | IXANY;
    t.c_oflag = OPOST | ONLCR;
    detail::setLineFlags(t, {9600, 7, Parity::Odd, StopBits::OneAndHalf, FlowControl::XonXoff});
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS7));
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD), tcflag_t(PARENB | PARODD));
    EXPECT_TRUE(t.c_iflag & INPCK);
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY), tcflag_t(IXON | IXOFF));
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));
    EXPECT_FALSE(t.c_oflag & OPOST);

    detail::setLineFlags(t, {9600, 5, Parity::Even, StopBits::One, FlowControl::RtsCts});
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS5));
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD), tcflag_t(PARENB));
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));

    detail::setLineFlags(t, {9600, 8, Parity::None, StopBits::Two, FlowControl::None});
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_FALSE(t.c_cflag & (PARENB | PARODD));
    EXPECT_FALSE(t.c_iflag & INPCK);
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
}

// A pseudo-terminal keeps speed, stop bits, odd/even and the flow control; it forces 8
// data bits and no parity whatever is asked.
TEST_F(SerialPortTest, SettingsReachTheLineInRawMode) {
    ASSERT_TRUE(port.applySettings({19200, 7, Parity::Odd, StopBits::Two, FlowControl::RtsCts}));
    termios t = pty.slaveTermios();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B19200));
    EXPECT_EQ(cfgetispeed(&t), speed_t(B19200));
    EXPECT_TRUE(t.c_cflag & PARODD);
    EXPECT_TRUE(t.c_iflag & INPCK);
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
    // Raw: nothing of the line discipline is left.
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
    EXPECT_FALSE(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP));
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    EXPECT_TRUE(t.c_cflag & CREAD);

    ASSERT_TRUE(port.applySettings({9600, 8, Parity::Even, StopBits::One, FlowControl::XonXoff}));
    t = pty.slaveTermios();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));
    EXPECT_FALSE(t.c_cflag & PARODD);
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_TRUE(t.c_iflag & IXOFF);

    ASSERT_TRUE(port.applySettings({110, 8, Parity::None, StopBits::OneAndHalf, FlowControl::None}));
    t = pty.slaveTermios();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B110));
    EXPECT_FALSE(t.c_iflag & INPCK);
    EXPECT_TRUE(t.c_cflag & CSTOPB); // one and a half is given as two
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));

    SerialLineSettings back;
    ASSERT_TRUE(port.getSettings(back));
    EXPECT_EQ(back.baudRate, 110);
    EXPECT_EQ(back.byteSize, 8);
    EXPECT_EQ(back.flowControl, FlowControl::None);
}

TEST_F(SerialPortTest, RatesWithoutATermiosConstantAreSetAsCustomRates) {
    for (int baud : {14400, 56000, 128000}) {
        ASSERT_TRUE(port.applySettings({baud, 8, Parity::None, StopBits::One, FlowControl::None})) << baud;
        SerialLineSettings back;
        ASSERT_TRUE(port.getSettings(back));
        EXPECT_EQ(back.baudRate, baud);
    }
}

TEST_F(SerialPortTest, SettingsTheLineCannotTakeAreRefused) {
    EXPECT_FALSE(port.applySettings({-1, 8, Parity::None, StopBits::One, FlowControl::None}));
    EXPECT_EQ(port.lastError(), EINVAL);
    EXPECT_FALSE(port.applySettings({9600, 9, Parity::None, StopBits::One, FlowControl::None}));
    EXPECT_FALSE(port.applySettings({9600, 4, Parity::None, StopBits::One, FlowControl::None}));
}

TEST_F(SerialPortTest, EveryByteCrossesUnchangedWithoutFlowControl) {
    ASSERT_TRUE(port.applySettings({9600, 8, Parity::None, StopBits::One, FlowControl::None}));
    port.setTimeouts({0, 0, 5000, 0, 5000}); // both end as soon as all bytes crossed
    const std::string bytes("A\nB\rC\0D\x11"
                            "E\x13"
                            "F\xff\r\n",
                            13);

    ASSERT_EQ(port.write(bytes), long(bytes.size()));
    EXPECT_EQ(pty.receive(bytes.size()), bytes);

    pty.send(bytes);
    std::string got(bytes.size(), '?');
    ASSERT_EQ(port.read(got.data(), got.size()), long(bytes.size()));
    EXPECT_EQ(got, bytes);
}

TEST_F(SerialPortTest, AReadFromASilentPeerEndsAtItsDeadline) {
    port.setTimeouts({0, 10, 100, 0, 0}); // 10 ms per byte + 100 ms: 140 ms for 4 bytes
    char buf[4];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.read(buf, sizeof buf), 0);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(140));
    EXPECT_LT(took, std::chrono::seconds(5));
}

TEST_F(SerialPortTest, AReadEndsWithWhatCameWhenThePeerFallsSilent) {
    port.setTimeouts({0, 0, 100, 0, 0});
    pty.send("ab");
    ASSERT_TRUE(pty.waitForInput()); // the read's deadline is for the silence after them
    char buf[8] = {};
    EXPECT_EQ(port.read(buf, sizeof buf), 2);
    EXPECT_EQ(std::string(buf, 2), "ab");

    // With an interval limit the read ends soon after the last byte, long before the total.
    port.setTimeouts({30, 0, 60000, 0, 0});
    pty.send("xyz");
    ASSERT_TRUE(pty.waitForInput());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.read(buf, sizeof buf), 3);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(SerialPortTest, ZeroTimeoutsNeverWait) {
    char buf[4];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.read(buf, sizeof buf), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(SerialPortExclusive, AnotherHolderKeepsThePortFromUs) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    ASSERT_TRUE(pty.lockSlave());
    SerialPort port;
    EXPECT_FALSE(port.open(pty.slavePath()));
    EXPECT_EQ(port.lastError(), EBUSY);
    pty.unlockSlave();
    EXPECT_TRUE(port.open(pty.slavePath()));

    // While we hold it, nobody else gets it; after close it is free again.
    SerialPort second;
    EXPECT_FALSE(second.open(pty.slavePath()));
    port.close();
    EXPECT_TRUE(second.open(pty.slavePath()));
}

TEST(SerialPortExclusive, NonTerminalsAndMissingDevicesAreRefused) {
    SerialPort port;
    EXPECT_FALSE(port.open("/dev/null"));
    EXPECT_EQ(port.lastError(), ENOTTY);
    EXPECT_FALSE(port.open("/tmp"));
    EXPECT_EQ(port.lastError(), ENOTTY);
    EXPECT_FALSE(port.open("/nonexistent/ttyS99"));
    EXPECT_EQ(port.lastError(), ENOENT);
    EXPECT_EQ(port.read(nullptr, 0), -1);
    EXPECT_FALSE(systemErrorText(ENOENT).empty());
}

TEST(SerialPortList, TheEnvironmentReplacesTheDeviceScan) {
    const char* old = std::getenv("PLOTWELL_SERIAL_PORTS");
    const std::string saved = old ? old : "";
    setenv("PLOTWELL_SERIAL_PORTS", "/dev/pts/7::/tmp/b", 1);
    EXPECT_EQ(listSerialPorts(), (std::vector<std::string>{"/dev/pts/7", "/tmp/b"}));
    setenv("PLOTWELL_SERIAL_PORTS", "", 1);
    EXPECT_TRUE(listSerialPorts().empty());
    unsetenv("PLOTWELL_SERIAL_PORTS");
    for (const auto& p : listSerialPorts())
        EXPECT_EQ(p.rfind("/dev/tty", 0), 0u) << p;
    if (old)
        setenv("PLOTWELL_SERIAL_PORTS", saved.c_str(), 1);
}
