#include "transfer/core/serial_settings.h"

#include "support/pty_pair.h"

#include <gtest/gtest.h>

using namespace plotwell::transfer;
using namespace plotwell::platform;

TEST(SerialSettings, BaudTable) {
    const int expected[] = {110,   300,   600,   1200,  2400,  4800,   9600,
                            14400, 19200, 38400, 56000, 57600, 115200, 128000};
    for (int row = 0; row < 14; ++row)
        EXPECT_EQ(baudRateOfRow(row), expected[row]) << row;
    EXPECT_EQ(baudRateOfRow(-1), -1);
    EXPECT_EQ(baudRateOfRow(14), -1);
}

TEST(SerialSettings, StoredParametersBecomeLineSettings) {
    SerialLineSettings dcb;
    applySerialParameters(dcb, 12, 7, 1, 2, 2);
    EXPECT_EQ(dcb, (SerialLineSettings{115200, 7, Parity::Odd, StopBits::Two, FlowControl::RtsCts}));
    applySerialParameters(dcb, 6, 8, 2, 1, 1);
    EXPECT_EQ(dcb, (SerialLineSettings{9600, 8, Parity::Even, StopBits::OneAndHalf, FlowControl::XonXoff}));
    applySerialParameters(dcb, 0, 8, 0, 0, 0);
    EXPECT_EQ(dcb, (SerialLineSettings{110, 8, Parity::None, StopBits::One, FlowControl::None}));

    // Values outside their lists leave parity, stop bits and flow control alone; the speed
    // and byte size are taken as they are and refused by the port later.
    applySerialParameters(dcb, 40, 9, 3, 3, 7);
    EXPECT_EQ(dcb, (SerialLineSettings{-1, 9, Parity::None, StopBits::One, FlowControl::None}));
}

TEST(SerialSettings, TimeoutsOfBothSidesAreSetFromTheStart) {
    SerialLinkState link;
    EXPECT_EQ(link.DownloadTimeouts, (SerialTimeouts{0, 0, 10000, 30, 40000}));
    EXPECT_EQ(link.UploadTimeouts, (SerialTimeouts{0, 0, 5000, 0, 5000}));
    EXPECT_FALSE(link.CommHandle.isOpen());
}

TEST(SerialSettings, TheStartUpCheckReadsTheLineAndLetsItGo) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialLineSettings dcb;
    dcb.baudRate = 0;
    int error = -1;
    EXPECT_EQ(readSerialState(pty.slavePath(), dcb, error), SerialOpenResult::Ok);
    EXPECT_EQ(error, 0);
    EXPECT_GT(dcb.baudRate, 0);
    // Closed again: another holder can take it now.
    EXPECT_TRUE(pty.lockSlave());
    EXPECT_EQ(readSerialState(pty.slavePath(), dcb, error), SerialOpenResult::NoAccess);
    EXPECT_EQ(error, EBUSY);
}

TEST(SerialSettings, OpeningForATransferAppliesSettingsAndTimeouts) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialPort port;
    int error = 0;
    const SerialLineSettings dcb{4800, 8, Parity::None, StopBits::One, FlowControl::XonXoff};
    ASSERT_EQ(openSerialPort(port, pty.slavePath(), dcb, kUploadTimeouts, error), SerialOpenResult::Ok);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.timeouts(), kUploadTimeouts);
    termios t = pty.slaveTermios();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B4800));
    EXPECT_TRUE(t.c_iflag & IXON);

    // What the line held before the open (an earlier reply's line end) is dropped.
    port.close();
    pty.send("\n");
    ASSERT_TRUE(pty.waitForInput());
    ASSERT_EQ(openSerialPort(port, pty.slavePath(), dcb, kUploadTimeouts, error), SerialOpenResult::Ok);
    port.setTimeouts({0, 0, 50, 0, 500});
    char c = 0;
    EXPECT_EQ(port.read(&c, 1), 0);

    SerialPort other;
    SerialLineSettings bad = dcb;
    bad.baudRate = baudRateOfRow(99);
    port.close();
    EXPECT_EQ(openSerialPort(other, pty.slavePath(), bad, kUploadTimeouts, error),
              SerialOpenResult::SetStateFailed);
    EXPECT_EQ(error, EINVAL);
    EXPECT_FALSE(other.isOpen());
    EXPECT_EQ(openSerialPort(other, "/nonexistent/tty", dcb, kUploadTimeouts, error),
              SerialOpenResult::NoAccess);
}

TEST(SerialSettings, DeviceRows) {
    EXPECT_EQ(deviceRowText("/dev/ttyS0", true), "/dev/ttyS0 for download");
    EXPECT_EQ(deviceRowText("/dev/ttyUSB1", false), "/dev/ttyUSB1 for upload");
}
