#include "workspace/core/levels.h"

#include "common/saturate.h"

#include <cassert>
#include <cstdlib>
#include <limits>

namespace plotwell::workspace {

namespace {
// v = trunc((code - mid + shift) x gain) kept within -mid..mid-1; true when a code changed.
bool scale(std::span<uint16_t> codes, int32_t mid, int32_t shift, double gain) {
    bool changed = false;
    for (uint16_t& c : codes) {
        const double v = double(int32_t(c) - mid + shift) * gain;
        const auto code = uint16_t(common::saturateTrunc(v, -mid, mid - 1, 0) + mid);
        changed |= code != c;
        c = code;
    }
    return changed;
}
} // namespace

LevelResult amplitudeToMaxPeak(std::span<uint16_t> codes, int32_t mid, int32_t peak) {
    assert(mid >= 1);
    peak = std::abs(peak);
    if (peak == 0) // every value 0: no finite gain, and nothing to stretch
        return {std::numeric_limits<double>::infinity(), false};
    const double gain = double(mid) / double(peak);
    const bool moved = scale(codes, mid, 0, gain);
    return {gain, gain != 1.0 || moved};
}

LevelResult amplitudeToMaxPkPk(std::span<uint16_t> codes, int32_t mid, int32_t sampleMin, int32_t sampleMax) {
    assert(mid >= 1);
    const int32_t shift = -(sampleMax + sampleMin) / 2; // C++ division truncates toward zero
    if (sampleMax == sampleMin) {
        // A flat selection: only the shift applies, which puts every sample on the mid code.
        bool changed = false;
        for (uint16_t& c : codes) {
            changed |= c != mid;
            c = uint16_t(mid);
        }
        return {std::numeric_limits<double>::infinity(), changed};
    }
    const double gain = double(mid) / (double(int64_t(sampleMax) - sampleMin) * 0.5);
    const bool moved = scale(codes, mid, shift, gain);
    return {gain, gain != 1.0 || moved};
}

} // namespace plotwell::workspace
