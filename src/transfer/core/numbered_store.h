#pragma once
// The generators with numbered stores of 1024 points: a download writes a store with
// "SETARB" and "ARBSAV" in comma-separated decimal values of 10 bits, an upload reads one
// back with "arbrcl <k>;arb?".

#include "transfer/core/transfer_worker.h"

#include <memory>

namespace plotwell::transfer {

inline constexpr int32_t kStorePoints = 1024;

// The text value of a stored word: trunc((w - R) x 512 / R) in single precision, within
// -512..511 (R = 1 read as 32768).
int32_t storeValue(uint16_t w, uint16_t reference);
// The word an uploaded value becomes: the value clamped to -512..511, plus 512.
uint16_t storeWord(int64_t value);

inline constexpr const char* kStoreNumberText =
    "Illegal QV3030 arb store number: %d\nMust be between 1 and 21";
inline constexpr const char* kStoreNameText =
    "The waveform name '%s' cannot be sent to the instrument:\nit must not contain ',' or ';'.\n"
    "Rename the file and download it again.";

std::unique_ptr<TransferWorker> makeStoreDownload(const TransferJob& job, Link& link, TransferStatus& status,
                                                  DownloadSource source);
std::unique_ptr<TransferWorker> makeStoreUpload(const TransferJob& job, Link& link, TransferStatus& status);

} // namespace plotwell::transfer
