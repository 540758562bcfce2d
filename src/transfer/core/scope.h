#pragma once
// The Tektronix TDS oscilloscopes: a download writes the selection into a reference
// memory ("data:dest", then "curve" with a block of one byte per point), an upload reads
// a trace with "curve?". Samples are 8-bit positive binary; an uploaded byte b becomes
// the word b under the reference 128.

#include "transfer/core/transfer_worker.h"

#include <memory>

namespace plotwell::transfer {

// The byte of a stored word w for the model: w x its scale / R plus its offset, at most
// 255, truncated (R = 1 read as 32768).
uint8_t scopeByte(uint16_t w, uint16_t reference, const InstrumentModel& model);

std::unique_ptr<TransferWorker> makeScopeDownload(const TransferJob& job, Link& link, TransferStatus& status,
                                                  DownloadSource source);
std::unique_ptr<TransferWorker> makeScopeUpload(const TransferJob& job, Link& link, TransferStatus& status);

} // namespace plotwell::transfer
