#pragma once
// The Quorvex generators that keep waveforms in named arb stores (QV7351 ... QVR6242/6322,
// and the QVS51xx for uploads): the download of a selection into a store ("arbdef", then a
// block of big-endian 16-bit codes behind the store's name) and the upload of a store
// ("<store>DEF?" for the name, "<store>?" for the block).

#include "transfer/core/transfer_worker.h"

#include <memory>

namespace plotwell::transfer {

// The store's largest waveform in points. Downloads: the large stores arb1 and arb3 of
// rows 5-10 hold 131072, their others 65536, rows 12-15 8192. Uploads: 131072 for rows
// 5-10, 4096 for row 11, 8192 for rows 12-15; these figures bound no upload, which takes
// any block up to kMaxPoints.
int32_t makerMaxPoints(Direction direction, int modelIndex, const std::string& store);
// "QUORVEX, <model or family>" the instrument must report. The GPIB upload of rows 12 and
// 13 asks for the family only, as the other links of rows 14 and 15 do.
std::string makerIdentity(Direction direction, int modelIndex, const std::string& model, LinkKind kind);
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
// trunc(w x scale) in 16 bits, bit 15 inverted for the signed 16-bit models.
float makerScale(uint16_t reference, float full);
uint16_t makerCode(uint16_t w, float scale, bool invert);
// Rows 12-15 (and the QVS51xx) take signed codes: bit 15 inverted both ways.
bool makerSigned(int modelIndex);

inline constexpr const char* kBadNameText =
    "The name \"%s\" cannot be sent to the instrument.\nNames must not hold ',', ';' or control characters.";

// Also the pattern generator's download (row 11): a bit pattern to "pattern1".."pattern4",
// other waveforms to "noise" (at most 2048 points) or an arb store (at most 4096).
std::unique_ptr<TransferWorker> makeMakerDownload(const TransferJob& job, Link& link, TransferStatus& status,
                                                  DownloadSource source);
std::unique_ptr<TransferWorker> makeMakerUpload(const TransferJob& job, Link& link, TransferStatus& status);

} // namespace plotwell::transfer
