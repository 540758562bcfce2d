#pragma once
// Pasting clipboard numbers into a waveform: the normalised paste buffer is stretched or
// squeezed to the point count wanted, scaled to the waveform's codes by an amplitude and an
// offset, clipped to the code range, and written over the selection or inserted.

#include "workspace/core/limits.h"
#include "workspace/core/sample_stream.h"

#include <cstdint>
#include <span>

namespace plotwell::synthesis {

// The items of the paste dialog's placement list, in their order.
enum class PasteMode { Overwrite, AtStartPoint, AtEndPoint, AtWaveformStart, AtWaveformEnd };

struct PasteRequest {
    PasteMode mode = PasteMode::Overwrite;
    int32_t start = 0, end = 0; // the selection
    int64_t expandCount = 0;    // the points an inserting paste adds
    int32_t amplitude = 0, offset = 0;
    int32_t midCode = 32768; // R' of the target
};

struct PasteOutcome {
    enum class Status { Ok, NoPoints, TooLong };
    Status status = Status::Ok;
    bool clipped = false;
    int32_t start = 0, end = 0; // the selection afterwards
};

// Pastes the normalised `buffer` codes into `target` (which holds the snapshot). Nothing is
// changed when there is no point to produce or the result would be longer than kMaxPoints.
PasteOutcome applyPaste(workspace::SampleStream& target, std::span<const uint16_t> buffer,
                        const PasteRequest& request);

} // namespace plotwell::synthesis
