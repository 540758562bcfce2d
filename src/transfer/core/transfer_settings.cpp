#include "transfer/core/transfer_settings.h"

#include "common/numtext.h"

namespace plotwell::transfer {

// The addresses are made with std::to_string: GCC 12 at -O3 raises a false -Wrestrict when a
// one-character literal is assigned to a string here.
void applyTransferDefaults(TransferSettings& s) {
    s.dlMakeIndex = 0;
    s.dlModelIndex = 7;
    s.dlDestinationIndex = 0;
    s.dlTypeIndex = ifLan;
    s.dlStretchIndex = 1;
    s.dlMake = "Quorvex";
    s.dlModel = "QV7351A";
    s.dlDestination = "arb1";
    s.dlType = "LAN";
    s.dlAddress = std::to_string(kDefaultGpibAddress);
    s.dlBaudRate = 6;
    s.dlByteSize = 8;
    s.dlParity = 0;
    s.dlStopBits = 0;
    s.dlFlowControl = 1;

    s.ulMakeIndex = 0;
    s.ulModelIndex = 7;
    s.ulSourceIndex = 0;
    s.ulTypeIndex = ifLan;
    s.ulMake = "Quorvex";
    s.ulModel = "QV7351A";
    s.ulSource = "arb1";
    s.ulType = "LAN";
    s.ulAddress = std::to_string(kDefaultGpibAddress);
    s.ulBaudRate = 6;
    s.ulByteSize = 8;
    s.ulParity = 0;
    s.ulStopBits = 0;
    s.ulFlowControl = 2;

    s.ulTCPPort = kDefaultTcpPort;
    s.dlTCPPort = kDefaultTcpPort;
    s.ulIPAddress = kDefaultIpAddress;
    s.dlIPAddress = kDefaultIpAddress;
}

TransferSide downloadSide(TransferSettings& s) {
    return {s.dlMake,
            s.dlModel,
            s.dlType,
            s.dlDestination,
            s.dlAddress,
            s.dlDriveLetter,
            s.dlIPAddress,
            s.dlTCPPort,
            s.dlMakeIndex,
            s.dlModelIndex,
            s.dlTypeIndex,
            s.dlDestinationIndex,
            s.dlDriveLetterIndex,
            &s.dlStretchIndex,
            s.dlBaudRate,
            s.dlByteSize,
            s.dlParity,
            s.dlStopBits,
            s.dlFlowControl};
}

TransferSide uploadSide(TransferSettings& s) {
    return {s.ulMake,
            s.ulModel,
            s.ulType,
            s.ulSource,
            s.ulAddress,
            s.ulDriveLetter,
            s.ulIPAddress,
            s.ulTCPPort,
            s.ulMakeIndex,
            s.ulModelIndex,
            s.ulTypeIndex,
            s.ulSourceIndex,
            s.ulDriveLetterIndex,
            nullptr,
            s.ulBaudRate,
            s.ulByteSize,
            s.ulParity,
            s.ulStopBits,
            s.ulFlowControl};
}

namespace {
std::string infoLine(const char* format, const TransferSide& side) {
    if (side.typeIndex == ifGpib0)
        side.type = "GPIB";
    const std::string address =
        side.type == "GPIB" ? common::cformat(" address %s", side.address.c_str()) : std::string();
    return common::cformat(format, side.make.c_str(), side.model.c_str(), side.type.c_str(), address.c_str());
}
} // namespace

std::string downloadInfo(TransferSettings& s) {
    return infoLine("   Download to:   %s %s via %s%s", downloadSide(s));
}
std::string uploadInfo(TransferSettings& s) {
    return infoLine("   Upload from:   %s %s via %s%s", uploadSide(s));
}

} // namespace plotwell::transfer
