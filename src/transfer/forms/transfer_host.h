#pragma once
// What the transfer dialogs and the transfer session need from the frame: the transfer
// settings record that the project files keep, the status lines on the frame's panel,
// and the frame's waveform windows for an upload. The frame implements it and installs
// itself when it is built.

#include "transfer/core/transfer_settings.h"

class TWFMform;

class TTransferHost {
public:
    // The transfer settings record (both directions).
    virtual plotwell::transfer::TransferSettings& TransferRecord() = 0;
    // The status lines of the two directions.
    virtual void ShowDownloadInfo() = 0;
    virtual void ShowUploadInfo() = 0;
    // The window an upload fills: a new one when `active` holds data, else `active`.
    virtual TWFMform* UploadTarget(TWFMform* active) = 0;

protected:
    TTransferHost() = default;
    ~TTransferHost() = default;
};

// The frame, once it has been built; null before and after.
extern TTransferHost* TransferHost;
