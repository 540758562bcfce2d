#pragma once
// The serial side of the transfer settings: the baud table, the mapping of the stored
// parameters onto a port's line settings, the time-outs, the session's serial link state,
// and the texts of serial failures.

#include "platform/posix/serial_port.h"

#include <string>

namespace plotwell::transfer {

// Baud-table row to bits per second: 0 110, 1 300, 2 600, 3 1200, 4 2400, 5 4800,
// 6 9600, 7 14400, 8 19200, 9 38400, 10 56000, 11 57600, 12 115200, 13 128000; any
// other row gives -1. The RS-232 dialog offers rows 0-9; the others come from projects.
int baudRateOfRow(int row);
inline constexpr int kDialogBaudRows = 10;

// Time-outs of each side (ms): a reply byte is awaited 10 s on a download and 5 s on an
// upload; a download write may take 30 ms a byte plus 40 s.
inline constexpr platform::SerialTimeouts kDownloadTimeouts{0, 0, 10000, 30, 40000};
inline constexpr platform::SerialTimeouts kUploadTimeouts{0, 0, 5000, 0, 5000};

// Writes the stored parameters into a port's line settings (in memory only). Parity,
// stop bits and flow control values outside their lists leave those settings as they
// were; a baud row outside the table gives -1 and a byte size is taken as stored, and
// the port refuses either when the settings are applied.
void applySerialParameters(platform::SerialLineSettings& dcb, int baudRow, int byteSize, int parity,
                           int stopBits, int flowControl);

// The session's serial link: one port handle for both directions (a serial download and a
// serial upload never run together), and the line settings and time-outs of each side.
// The time-outs hold the table values from the start, so that a port that start-up did
// not check never waits without a deadline.
struct SerialLinkState {
    platform::SerialPort CommHandle;
    platform::SerialLineSettings DownloadDcb;
    platform::SerialLineSettings UploadDcb;
    platform::SerialTimeouts DownloadTimeouts = kDownloadTimeouts;
    platform::SerialTimeouts UploadTimeouts = kUploadTimeouts;
};

// What went wrong when a port was opened for use.
enum class SerialOpenResult {
    Ok,
    NoAccess,       // missing, not a terminal, or held by another program
    GetStateFailed, // "GetCommState"
    SetStateFailed, // "SetCommState"
};

// Start-up check of a chosen port: opens it, reads its line settings into `dcb`, and
// closes it again. `error` receives the errno of a failure.
SerialOpenResult readSerialState(const std::string& path, platform::SerialLineSettings& dcb, int& error);

// Opens `path` into `port` for a transfer with a side's line settings and time-outs, and
// drops any input the line held from before. On failure the port is closed and `error`
// holds the errno.
SerialOpenResult openSerialPort(platform::SerialPort& port, const std::string& path,
                                const platform::SerialLineSettings& dcb,
                                const platform::SerialTimeouts& timeouts, int& error);

// Messages (kept as the program has always shown them).
inline constexpr const char* kStartupAccessText =
    "Unable to gain access to%s.\nIt may be in use by another application";
inline constexpr const char* kTransferAccessText =
    "Unable to gain access to %s.\nIt may be in use by another application";
inline constexpr const char* kCommErrorText =
    "A comminications error\nhas occurred on %s\nin the functiom %s.";

// The RS-232 dialog's Device rows.
std::string deviceRowText(const std::string& port, bool download);

} // namespace plotwell::transfer
