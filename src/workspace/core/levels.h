#pragma once
// The two level commands of the waveform window: stretch the selection to the code range's
// ends, by its largest magnitude (max peak) or by its extremes about their centre (max pk-pk).

#include <cstdint>
#include <span>

namespace plotwell::workspace {

struct LevelResult {
    double gain = 1.0;  // the factor applied (inf for a flat selection)
    bool marks = false; // the window is to be marked modified (gain not 1, or a code moved)
};

// `codes` is the selection, `mid` the mid code R', `peak` the larger magnitude of the
// selection's extremes. A selection whose peak is 0 stays as it is.
LevelResult amplitudeToMaxPeak(std::span<uint16_t> codes, int32_t mid, int32_t peak);

// `sampleMin`/`sampleMax` are the selection's extreme values. A selection whose range is 0
// becomes the mid code.
LevelResult amplitudeToMaxPkPk(std::span<uint16_t> codes, int32_t mid, int32_t sampleMin, int32_t sampleMax);

} // namespace plotwell::workspace
