#pragma once
// The download and upload choices of the frame, saved in the project settings file.
// Field names are the keys of that file.

#include <string>

namespace plotwell::transfer {

// Row of the Type list; serial ports follow from row 5 on.
enum TransferInterface : int {
    ifGpib0 = 0,
    ifGpib1 = 1,
    ifUsb = 2,
    ifCard = 3,
    ifLan = 4,
    ifFirstSerial = 5
};

// The private address offered until the user types one.
inline constexpr const char* kDefaultIpAddress = "192.168.1.100";
inline constexpr const char* kDefaultTcpPort = "9221";
inline constexpr int kDefaultGpibAddress = 5;

struct TransferSettings {
    std::string dlMake, dlModel, dlType, dlDestination, dlAddress, dlDriveLetter, dlIPAddress, dlTCPPort;
    int dlMakeIndex = 0, dlModelIndex = 0, dlTypeIndex = 0, dlDestinationIndex = 0, dlDriveLetterIndex = 0,
        dlStretchIndex = 0;
    std::string ulMake, ulModel, ulType, ulSource, ulAddress, ulDriveLetter, ulIPAddress, ulTCPPort;
    int ulMakeIndex = 0, ulModelIndex = 0, ulTypeIndex = 0, ulSourceIndex = 0, ulDriveLetterIndex = 0;

    // Serial parameters of each side: baud-table row, data bits, parity (0 none, 1 odd,
    // 2 even), stop bits (0 one, 1 one and a half, 2 two), flow control (0 none,
    // 1 Xon/Xoff, 2 RTS/CTS).
    int dlBaudRate = 0, dlByteSize = 0, dlParity = 0, dlStopBits = 0, dlFlowControl = 0;
    int ulBaudRate = 0, ulByteSize = 0, ulParity = 0, ulStopBits = 0, ulFlowControl = 0;

    bool operator==(const TransferSettings&) const = default;
};

// The defaults used when a project holds no settings. The drive-letter fields keep
// whatever they hold.
void applyTransferDefaults(TransferSettings& s);

// One direction of the record, so that the download and the upload share their code.
// `target` is dlDestination or ulSource; the upload has no stretch choice.
struct TransferSide {
    std::string& make;
    std::string& model;
    std::string& type;
    std::string& target;
    std::string& address;
    std::string& driveLetter;
    std::string& ipAddress;
    std::string& tcpPort;
    int& makeIndex;
    int& modelIndex;
    int& typeIndex;
    int& targetIndex;
    int& driveLetterIndex;
    int* stretchIndex;
    int& baudRate;
    int& byteSize;
    int& parity;
    int& stopBits;
    int& flowControl;
};
TransferSide downloadSide(TransferSettings& s);
TransferSide uploadSide(TransferSettings& s);

// The frame's status lines. Board 0 is named "GPIB" in the record first (that is the
// text the transfer failure paths test and the project stores), and a GPIB line names
// the address.
std::string downloadInfo(TransferSettings& s);
std::string uploadInfo(TransferSettings& s);

} // namespace plotwell::transfer
