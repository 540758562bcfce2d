#include "synthesis/core/sample_maths.h"

#include "workspace/core/resample.h"
#include "common/saturate.h"
#include "workspace/core/wave_files.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace plotwell::synthesis {

using common::saturateTrunc;

PointRange ClampRange(int64_t start, int64_t end, int64_t points) {
    if (points < 1)
        return {};
    const int64_t last = points - 1;
    if (start > last || start < 0)
        start = 0;
    end = std::max(std::min(end, last), start);
    return {start, end};
}

namespace {

// A computed code clipped into 0..top; kept branch-light so the loops stay fast.
inline uint16_t clipCode(int64_t v, int64_t top, bool& clipped) {
    clipped |= (v < 0) | (v > top);
    return uint16_t(std::clamp<int64_t>(v, 0, top));
}

// A double truncated toward zero, already known to be finite; magnitudes beyond any code
// are held at a value that still clips.
inline int64_t truncFinite(double v) { return int64_t(std::clamp(v, -1e12, 1e12)); }

// The range within both spans, so a kernel never reads or writes past either.
PointRange within(PointRange range, std::size_t a, std::size_t b) {
    const int64_t points = int64_t(std::min(a, b));
    if (range.count() == 0 || points < 1)
        return {};
    return ClampRange(range.first, range.last, points);
}

} // namespace

bool ApplyScalar(std::span<const uint16_t> snapshot, std::span<uint16_t> target, PointRange range,
                 int32_t midCode, ScalarOp op, double scalar) {
    range = within(range, snapshot.size(), target.size());
    const int64_t top = 2 * int64_t(midCode) - 1;
    bool clipped = false;
    if (std::isnan(scalar))
        scalar = 0; // not a number from any edit; leaves the codes as they are
    if (op == ScalarOp::Add) {
        // Whole steps only: 1.75 adds 1, -0.5 adds nothing.
        const int64_t whole = truncFinite(scalar);
        for (int64_t i = range.first; i <= range.last; ++i)
            target[i] = clipCode(snapshot[i] + whole, top, clipped);
    } else {
        for (int64_t i = range.first; i <= range.last; ++i)
            target[i] = clipCode(truncFinite((double(snapshot[i]) - midCode) * scalar + midCode), top, clipped);
    }
    return clipped;
}

CombineResult CombineWaveforms(const MathSource& a, const MathSource& b, std::span<uint16_t> target,
                               PointRange range, int32_t midCode, MathOp op, bool fit) {
    CombineResult result;
    range = within(range, target.size(), target.size());
    const int64_t count = std::min({range.count(), int64_t(a.codes.size()), int64_t(b.codes.size())});
    const int64_t top = 2 * int64_t(midCode) - 1;

    // Products of two 16-bit values about their references reach 2^32: 64-bit throughout.
    auto value = [&](int64_t i) {
        const int64_t x = int64_t(a.codes[i]) - a.midCode;
        const int64_t y = int64_t(b.codes[i]) - b.midCode;
        return op == MathOp::Sum ? x + y : op == MathOp::Difference ? x - y : x * y;
    };
    uint16_t* out = target.data() + range.first;

    // The first pass has a gain of 1, so it stays in integers.
    int64_t lowest = 0, highest = 0;
    bool clipped = false;
    for (int64_t i = 0; i < count; ++i) {
        const int64_t v = value(i);
        highest = i == 0 ? v : std::max(highest, v);
        lowest = i == 0 ? v : std::min(lowest, v);
        out[i] = clipCode(v + midCode, top, clipped);
    }
    result.written = count;
    result.clipped = clipped;
    if (!fit || !clipped)
        return result;

    // A pass that clipped has a non-zero peak, so the gain is finite; the second pass puts the
    // largest magnitude on R'-1 and cannot clip.
    const int64_t peak = std::max(std::abs(lowest), std::abs(highest));
    result.gain = double(midCode - 1) / double(peak);
    clipped = false;
    for (int64_t i = 0; i < count; ++i) {
        // Half away from zero, as the codes were always rounded.
        const double scaled = double(value(i)) * result.gain;
        out[i] = clipCode(truncFinite(scaled + (scaled < 0 ? -0.5 : 0.5)) + midCode, top, clipped);
    }
    result.clipped = clipped;
    return result;
}

bool ResizeSamples(const workspace::SampleStream& snapshot, int64_t newLength, workspace::SampleStream& out) {
    if (!snapshot.hasPoints() || newLength < 1 || newLength > workspace::kMaxFilePoints)
        return false;
    std::vector<uint16_t> codes;
    codes.reserve(std::size_t(newLength));
    if (!workspace::ResampleSelection(snapshot.codes(), 0, snapshot.count(), newLength, codes))
        return false;
    out.assign(snapshot.reference(), codes);
    return true;
}

int32_t SmoothingWidth(int32_t requested, PointRange range) {
    const int64_t cap = std::max<int64_t>(range.count() - 1, 0) / 10;
    int64_t w = std::clamp<int64_t>(requested, 0, cap);
    return int32_t(2 * (w / 2) + 1);
}

int32_t SmoothRange(std::span<uint16_t> samples, PointRange range, int32_t requested) {
    range = within(range, samples.size(), samples.size());
    const int32_t w = SmoothingWidth(requested, range);
    const int64_t length = range.count();
    if (length == 0)
        return w;
    const int64_t h = w / 2;
    // The points leaving the window are the ones before this Apply; those entering are read
    // ahead of the writing position, so they are not smoothed yet either.
    const std::vector<uint16_t> before(samples.begin() + range.first, samples.begin() + range.last + 1);
    uint16_t* p = samples.data() + range.first;
    int64_t sum = 0; // a tenth of a million-point range of full-scale codes passes 2^31
    for (int64_t i = 0; i < w; ++i)
        sum += p[i];
    for (int64_t c = h; c < length - h - 2; ++c) {
        const float mean = float(double(sum) / double(w));
        p[c] = uint16_t(saturateTrunc(double(mean) + 0.5, 0, 65535, 0));
        sum += int64_t(p[c + h + 1]) - before[c - h];
    }
    return w;
}

float VerticalGain(int32_t amplitude) {
    if (amplitude < 0)
        return float(1.0 + 0.005 * -double(amplitude));
    if (amplitude > 0)
        return float(1.0 / (1.0 + 0.02 * double(amplitude)));
    return 1.0f;
}

int32_t VerticalOffsetLimit(int32_t midCode) { return std::min(2 * midCode, 32767); }

void AdjustVertical(std::span<const uint16_t> snapshot, std::span<uint16_t> target, int32_t midCode,
                    const VerticalAdjustment& adjustment) {
    const std::size_t count = std::min(snapshot.size(), target.size());
    const double g = VerticalGain(adjustment.amplitude);
    const int64_t top = 2 * int64_t(midCode) - 1;
    for (std::size_t i = 0; i < count; ++i) {
        int64_t v = int64_t(snapshot[i]) - adjustment.offset;
        if (adjustment.inverted)
            v = 2 * int64_t(midCode) - v; // the offset's direction turns with the waveform
        const float y = float(double(v - midCode) * g + double(midCode));
        target[i] = uint16_t(saturateTrunc(y, 0, top, midCode));
    }
}

} // namespace plotwell::synthesis
