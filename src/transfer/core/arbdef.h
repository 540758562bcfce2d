#pragma once
// The ARBDEF family of arbitrary-waveform generators: the download of a selection as a
// named waveform ("ARBDEF" with a block of big-endian 12-bit codes, or "ARBDEFCSV" with
// decimal values over RS-232) and the upload of a named waveform.

#include "transfer/core/transfer_worker.h"

#include <memory>

namespace plotwell::transfer {

// The waveform's name on the instrument: the destination, else the file name up to its
// first '.'; at most 8 characters.
std::string arbDefInstrumentName(const std::string& destination, const std::string& fileName);

// Sample coding with scale = 2048 / R in single precision (R = 1 read as 32768): the
// binary code trunc(w x scale) of 0..4095, and the text value trunc((w - R) x scale) of
// -2048..2047. Values beyond the 12 bits clip.
float arbDefScale(uint16_t reference);
uint16_t arbDefCode(uint16_t w, float scale);
int32_t arbDefValue(uint16_t w, int32_t reference, float scale);

inline constexpr const char* kNoCardInInstrumentText =
    "The Instrument requires\na memory card for\nthis operation";
inline constexpr const char* kCardFullText =
    "There is not enough free\nspace on the memory\ncard for this waveform";

std::unique_ptr<TransferWorker> makeArbDefDownload(const TransferJob& job, Link& link, TransferStatus& status,
                                                   DownloadSource source);
std::unique_ptr<TransferWorker> makeArbDataUpload(const TransferJob& job, Link& link, TransferStatus& status);

} // namespace plotwell::transfer
