#pragma once
// The transfer steps that act on one waveform window: the identity checks of the first
// transfer tick, the LAN connection, and the failure routines of the two directions.
// The window keeps its transfer timer and state; the settings record and the running
// link are the frame's, reached through TransferHost.

#include <memory>
#include <string>

class TWFMform;
namespace plotwell::transfer {
class Link;
}

class TTransferSession {
public:
    explicit TTransferSession(TWFMform& window) : window_(window) {}

    // The identity checks of the first transfer tick. True when the transfer must stop
    // (the failure routine and the reports have run); false to go on. `expected` is cut
    // as the comparison needs it.
    bool CheckIdentitySerial(plotwell::transfer::Link& link, std::string& expected, bool download);
    bool CheckIdentityGpib(plotwell::transfer::Link& link, std::string& expected, bool download);
    bool CheckIdentityUsb(plotwell::transfer::Link& link, std::string& expected, bool download);
    bool CheckIdentityLan(plotwell::transfer::Link& link, std::string& expected, bool download);
    static int CompareIdentity(const std::string& reply, const std::string& expected);
    // The first step of every LAN worker: timer off, then a connection to the direction's
    // IP address and TCP port. Null after the connect message when none could be made.
    std::unique_ptr<plotwell::transfer::Link> ConnectLan(bool download);
    // The failure routines of the two directions: stop, report, close the link, hide the
    // status; an upload also empties the window.
    void DownloadFailed();
    void UploadFailed();

private:
    bool CheckIdentity(plotwell::transfer::Link& link, std::string& expected, bool download);
    TWFMform& window_;
};
