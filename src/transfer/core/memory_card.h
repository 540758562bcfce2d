#pragma once
// Transfers through the instrument's memory card (or USB drive) mounted as a folder: a
// download writes the selection as instrument codes into the instrument's directory, an
// upload reads such a file back. No timer, no command, no identity check.
//
// A card file is little-endian 16-bit words: the header word (the instrument's code
// range base), then one code per selected point.

#include "transfer/core/transfer_job.h"
#include "transfer/core/transfer_worker.h"
#include "workspace/core/sample_stream.h"

#include <string>

namespace plotwell::transfer {

// The waveform's name on the card: the destination, else the first word of the file
// name; up to its first '.', in capitals, at most 8 characters.
std::string cardInstrumentName(const std::string& destination, const std::string& fileName);
// Names are letters, digits, '_' and '-' only, so that none leaves the card's directory.
bool validCardName(const std::string& name);

// The file of a download: <drive>/<the model's card directory>/<name>.WFM, or
// <drive>/<its pattern directory>/<name>.PTN for a bit pattern where it has one. Empty for
// a model without a card.
std::string cardDownloadPath(const std::string& drive, const InstrumentModel& model, bool bitPattern,
                             const std::string& name);
// The file of an upload, by the upload's own model; empty for a model without a card.
std::string cardUploadPath(const std::string& drive, const InstrumentModel& model, const std::string& name);

// The card file of the selection: the model's code range as the header word, then code =
// trunc(w x header / R) for each point, with the top bit inverted for signed codes. The
// samples are not changed. False when the model has no card, or the selection is empty or
// lies outside the samples.
bool cardFileBytes(const workspace::SampleStream& samples, int32_t start, int32_t end,
                   const InstrumentModel& model, std::string& out);
// A card file read back: like a .wfm (even size of at least 4 bytes, a usable reference
// word) and no more than 1,048,576 points.
bool readCardFile(std::string_view bytes, workspace::SampleStream& out);

struct CardOutcome {
    bool ok = false;
    std::string error; // the box to show when not ok
    std::string path;
    std::string name;
    workspace::SampleStream samples; // upload: the file's samples
};

// Writes the download's card file (replacing an old one only when the new one is whole).
CardOutcome downloadToCard(const TransferJob& job, const DownloadSource& source, bool bitPattern);
// Reads the upload's card file, named by the source's first 8 characters as typed.
CardOutcome uploadFromCard(const TransferJob& job);

std::string cardUploadCaption(const std::string& model, const std::string& name);

inline constexpr const char* kCardWriteFailedText = "Unable to download waveform data to\nmemory card";
inline constexpr const char* kCardTooLongText =
    "The waveform has more than 1048576 points.\nIt cannot be written to the memory card.";
static_assert(workspace::kMaxPoints == 1048576, "kCardTooLongText spells the limit");
inline constexpr const char* kCardNoPointText = "The waveform has no point to write to the memory card.";
std::string cardReadFailedText(const std::string& path);
std::string cardBadNameText(const std::string& name);

} // namespace plotwell::transfer
