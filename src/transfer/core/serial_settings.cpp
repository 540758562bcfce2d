#include "transfer/core/serial_settings.h"

#include "common/numtext.h"

#include <iterator>

namespace plotwell::transfer {

using platform::FlowControl;
using platform::Parity;
using platform::StopBits;

int baudRateOfRow(int row) {
    static constexpr int kRates[] = {110,   300,   600,   1200,  2400,  4800,   9600,
                                     14400, 19200, 38400, 56000, 57600, 115200, 128000};
    return row >= 0 && row < int(std::size(kRates)) ? kRates[row] : -1;
}

void applySerialParameters(platform::SerialLineSettings& dcb, int baudRow, int byteSize, int parity,
                           int stopBits, int flowControl) {
    dcb.baudRate = baudRateOfRow(baudRow);
    dcb.byteSize = byteSize;
    switch (parity) {
    case 0:
        dcb.parity = Parity::None;
        break;
    case 1:
        dcb.parity = Parity::Odd;
        break;
    case 2:
        dcb.parity = Parity::Even;
        break;
    default:
        break;
    }
    switch (stopBits) {
    case 0:
        dcb.stopBits = StopBits::One;
        break;
    case 1:
        dcb.stopBits = StopBits::OneAndHalf;
        break;
    case 2:
        dcb.stopBits = StopBits::Two;
        break;
    default:
        break;
    }
    switch (flowControl) {
    case 0:
        dcb.flowControl = FlowControl::None;
        break;
    case 1:
        dcb.flowControl = FlowControl::XonXoff;
        break;
    case 2:
        dcb.flowControl = FlowControl::RtsCts;
        break;
    default:
        break;
    }
}

SerialOpenResult readSerialState(const std::string& path, platform::SerialLineSettings& dcb, int& error) {
    platform::SerialPort port;
    if (!port.open(path)) {
        error = port.lastError();
        return SerialOpenResult::NoAccess;
    }
    if (!port.getSettings(dcb)) {
        error = port.lastError();
        return SerialOpenResult::GetStateFailed;
    }
    error = 0;
    return SerialOpenResult::Ok;
}

SerialOpenResult openSerialPort(platform::SerialPort& port, const std::string& path,
                                const platform::SerialLineSettings& dcb,
                                const platform::SerialTimeouts& timeouts, int& error) {
    if (!port.open(path)) {
        error = port.lastError();
        return SerialOpenResult::NoAccess;
    }
    if (!port.applySettings(dcb)) {
        error = port.lastError();
        port.close();
        return SerialOpenResult::SetStateFailed;
    }
    port.setTimeouts(timeouts);
    // Bytes the line kept from before (the line end after an earlier upload's block) are no
    // reply to this transfer.
    port.flushInput();
    error = 0;
    return SerialOpenResult::Ok;
}

std::string deviceRowText(const std::string& port, bool download) {
    return common::cformat(download ? "%s for download" : "%s for upload", port.c_str());
}

} // namespace plotwell::transfer
