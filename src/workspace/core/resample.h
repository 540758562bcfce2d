#pragma once
// The resamplers: the one of the fixed-length file formats and of the downloads, and the
// stretch resampler of resize and the paste options. Each stretches or shrinks a run of
// samples to a new point count.

#include <cstdint>
#include <span>
#include <vector>

namespace plotwell::workspace {

// Appends `newCount` codes made from the `count` codes of `codes` that begin at `start`.
//
// Fewer or the same number of points: an accumulator decides which samples are kept, so
// 4 points to 2 keeps points 0 and 2 and a ratio of 1 copies unchanged. More points: the
// gaps between neighbours are filled by linear steps (truncated toward zero). The samples
// after the selection take part as the next points of the interpolation; beyond the
// waveform's last sample the interpolation turns back toward the selection's first one,
// so [10, 20] at the waveform's end to 4 points gives 10, 20, 20, 10.
//
// Every read is bounds-checked against `codes`. Returns false, appending nothing, when the
// run lies outside `codes`, `count` is below 1 or `newCount` is below 1 or above
// kMaxResampleCount.
bool ResampleSelection(std::span<const uint16_t> codes, int64_t start, int64_t count, int64_t newCount,
                       std::vector<uint16_t>& out);

// The stretch resampler of resize and of the paste options: all of `codes` to `newCount`
// points by the same rules, except that growing steps and accumulates each interpolation
// in single precision (ten steps of a tenth reach the next point; in double they fall
// just short of it). Refuses as ResampleSelection does.
bool StretchResample(std::span<const uint16_t> codes, int64_t newCount, std::vector<uint16_t>& out);

// No caller needs more than the program's largest waveform; anything bigger is a bad
// length from outside.
inline constexpr int64_t kMaxResampleCount = 1 << 24;

} // namespace plotwell::workspace
