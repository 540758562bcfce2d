#pragma once
// The Quorvex generators that keep waveforms in named arb stores: the download of a
// selection into a store ("arbdef", then a block of big-endian 16-bit codes behind the
// store's name) and the upload of a store ("<store>DEF?" for the name, "<store>?" for the
// block). The pattern generator's download is one of them.

#include "transfer/core/transfer_worker.h"

#include <memory>

namespace plotwell::transfer {

// The name a download gives the waveform: the file name up to its first '.' when the
// destination is a plain store, else the destination itself; at most 8 characters.
std::string makerInstrumentName(const std::string& destination, const std::string& fileName,
                                bool patternStores = false);
// The name the job's download gives the waveform, and its status "Downloading <file> as
// <name>", which the LAN download shows before it connects.
std::string makerDownloadName(const TransferJob& job, const std::string& fileName);
std::string makerDownloadStatus(const TransferJob& job, const std::string& fileName);
// A name taken from an instrument's reply, made safe for a caption and a path.
std::string safeInstrumentName(std::string name);
// Whether `text` may go into a command: no ',', ';' or control characters.
bool fitsCommand(const std::string& text);

// Sample coding: scale = `full` / R in single precision (R = 1 read as 32768), the code
// trunc(w x scale) in 16 bits, bit 15 inverted for the signed 16-bit models (both ways).
float makerScale(uint16_t reference, float full);
uint16_t makerCode(uint16_t w, float scale, bool invert);

inline constexpr const char* kBadNameText =
    "The name \"%s\" cannot be sent to the instrument.\nNames must not hold ',', ';' or control characters.";

// Also the pattern generator's download: a bit pattern to "pattern1".."pattern4", other
// waveforms to "noise" (at most 2048 points) or an arb store.
std::unique_ptr<TransferWorker> makeMakerDownload(const TransferJob& job, Link& link, TransferStatus& status,
                                                  DownloadSource source);
std::unique_ptr<TransferWorker> makeMakerUpload(const TransferJob& job, Link& link, TransferStatus& status);

} // namespace plotwell::transfer
