#pragma once
// What the transfer dialogs and the transfer session need from the frame that owns the
// transfer settings record and the running transfer's link. The frame implements it and
// installs itself when it is built.

#include "transfer/core/link.h"
#include "transfer/core/session.h"
#include "transfer/core/transfer_settings.h"

#include <string>

class TWFMform;

class TTransferHost {
public:
    // The transfer settings record (both directions).
    virtual plotwell::transfer::TransferSettings& TransferRecord() = 0;
    // The waits every instrument link is opened with.
    virtual const plotwell::transfer::LinkDeadlines& LinkWaits() const = 0;
    // The status lines of the two directions.
    virtual void ShowDownloadInfo() = 0;
    virtual void ShowUploadInfo() = 0;
    // The library error boxes of GPIB and USB.
    virtual void ReportGpibError(const std::string& function) = 0;
    virtual void ReportUsbError(const std::string& function, int code) = 0;
    // Closes the running transfer's link (a second close does nothing).
    virtual void CloseTransferLink() = 0;
    // The instrument connection with the running transfer.
    virtual plotwell::transfer::TransferSession& TransferConnection() = 0;
    // Opening the link of a transfer, into TransferConnection().link: the libraries are
    // loaded when needed. False after the failure has been reported.
    virtual bool OpenGpibLink(int board, const std::string& address, int tmo) = 0;
    virtual bool OpenUsbLink(const std::string& address) = 0;
    virtual bool OpenSerialLink(bool download) = 0;
    // The window an upload fills: a new one when `active` holds data, else `active`.
    virtual TWFMform* UploadTarget(TWFMform* active) = 0;

protected:
    TTransferHost() = default;
    ~TTransferHost() = default;
};

// The frame, once it has been built; null before and after.
extern TTransferHost* TransferHost;
