#include "transfer/core/transfer_settings.h"

namespace plotwell::transfer {

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
    s.dlAddress = "5";
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
    s.ulAddress = "5";
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

} // namespace plotwell::transfer
