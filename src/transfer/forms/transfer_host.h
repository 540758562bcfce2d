#pragma once
// What the transfer dialogs and the transfer session need from the frame that owns the
// transfer settings record and the running transfer's link. The frame implements it and
// installs itself when it is built.

#include "transfer/core/transfer_settings.h"

#include <string>

class TTransferHost {
public:
    // The transfer settings record (both directions).
    virtual plotwell::transfer::TransferSettings& TransferRecord() = 0;
    // The status lines of the two directions.
    virtual void ShowDownloadInfo() = 0;
    virtual void ShowUploadInfo() = 0;
    // The library error boxes of GPIB and USB.
    virtual void ReportGpibError(const std::string& function) = 0;
    virtual void ReportUsbError(const std::string& function, int code) = 0;
    // Closes the running transfer's link (a second close does nothing).
    virtual void CloseTransferLink() = 0;

protected:
    TTransferHost() = default;
    ~TTransferHost() = default;
};

// The frame, once it has been built; null before and after.
extern TTransferHost* TransferHost;
