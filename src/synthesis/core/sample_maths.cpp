#include "synthesis/core/sample_maths.h"

#include "common/saturate.h"
#include "workspace/core/limits.h"
#include "workspace/core/resample.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>
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

// A computed double (never not a number) clipped into 0..top, then truncated toward zero.
inline uint16_t clipDouble(double v, double top, bool& clipped) {
    clipped |= (v <= -1.0) | (v >= top + 1.0);
    return uint16_t(int32_t(std::min(std::max(v, 0.0), top)));
}

// A double truncated toward zero, already known to be finite; magnitudes beyond any code
// are held at a value that still clips.
inline int64_t truncFinite(double v) {
    return int64_t(std::clamp(v, -1e12, 1e12));
}

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
    // A constant too long for a double is the largest one, so that the mid code times it
    // stays the mid code rather than becoming not a number.
    scalar = std::clamp(scalar, -std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
    const uint16_t* in = snapshot.data();
    uint16_t* out = target.data();
    if (op == ScalarOp::Add) {
        // Whole steps only: 1.75 adds 1, -0.5 adds nothing.
        const int64_t whole = truncFinite(scalar);
        for (int64_t i = range.first; i <= range.last; ++i)
            out[i] = clipCode(in[i] + whole, top, clipped);
    } else {
        for (int64_t i = range.first; i <= range.last; ++i)
            out[i] = clipDouble((double(in[i]) - midCode) * scalar + midCode, double(top), clipped);
    }
    return clipped;
}

namespace {

// a (op) b about each source's mid code; 64-bit, since a product of two 16-bit values
// about their references reaches 2^32.
template <MathOp Op> inline int64_t combine(int64_t x, int64_t y) {
    if constexpr (Op == MathOp::Sum)
        return x + y;
    else if constexpr (Op == MathOp::Difference)
        return x - y;
    else
        return x * y;
}

// The passes over `count` points with the operation fixed, so the loops carry no branch on
// it. A first pass at a gain of 1 clips exactly when its extremes lie outside the codes, so
// with the fit the extremes are found first and the points written once, at the gain
// that pass ends with.
template <MathOp Op>
CombineResult combinePasses(const MathSource& a, const MathSource& b, uint16_t* out, int64_t count,
                            int32_t midCode, bool fit) {
    // Sums and differences of 16-bit values fit in 32 bits, which keeps their loops narrow.
    using Value = std::conditional_t<Op == MathOp::Product, int64_t, int32_t>;
    CombineResult result;
    result.written = count;
    const int64_t top = 2 * int64_t(midCode) - 1;
    const uint16_t* pa = a.codes.data();
    const uint16_t* pb = b.codes.data();
    const Value ra = Value(a.midCode), rb = Value(b.midCode);
    auto value = [&](int64_t i) { return Value(combine<Op>(Value(pa[i]) - ra, Value(pb[i]) - rb)); };
    bool clipped = false;
    if (!fit) {
        for (int64_t i = 0; i < count; ++i)
            out[i] = clipCode(int64_t(value(i)) + midCode, top, clipped);
        result.clipped = clipped;
        return result;
    }
    Value lowest = std::numeric_limits<Value>::max(), highest = std::numeric_limits<Value>::min();
    for (int64_t i = 0; i < count; ++i) {
        const Value v = value(i);
        highest = std::max(highest, v);
        lowest = std::min(lowest, v);
    }
    if (int64_t(highest) + midCode <= top && int64_t(lowest) + midCode >= 0) {
        for (int64_t i = 0; i < count; ++i)
            out[i] = uint16_t(int64_t(value(i)) + midCode);
        return result;
    }
    // The peak of a range that clips is not 0, so the gain is finite; it puts the largest
    // magnitude on R'-1, and the scaled values cannot clip.
    const int64_t peak = std::max(std::abs(int64_t(lowest)), std::abs(int64_t(highest)));
    result.gain = double(midCode - 1) / double(peak);
    const double gain = result.gain;
    for (int64_t i = 0; i < count; ++i) {
        const double scaled = double(value(i)) * gain;
        // Half away from zero, as the codes were always rounded; |scaled| is at most R'-1,
        // so the whole part fits in 32 bits.
        out[i] = clipCode(int32_t(scaled + std::copysign(0.5, scaled)) + int64_t(midCode), top, clipped);
    }
    result.clipped = clipped;
    return result;
}

} // namespace

CombineResult CombineWaveforms(const MathSource& a, const MathSource& b, std::span<uint16_t> target,
                               PointRange range, int32_t midCode, MathOp op, bool fit) {
    range = within(range, target.size(), target.size());
    const int64_t count = std::min({range.count(), int64_t(a.codes.size()), int64_t(b.codes.size())});
    if (count < 1)
        return {};
    uint16_t* out = target.data() + range.first;
    switch (op) {
    case MathOp::Sum:
        return combinePasses<MathOp::Sum>(a, b, out, count, midCode, fit);
    case MathOp::Difference:
        return combinePasses<MathOp::Difference>(a, b, out, count, midCode, fit);
    case MathOp::Product:
        break;
    }
    return combinePasses<MathOp::Product>(a, b, out, count, midCode, fit);
}

bool ResizeSamples(const workspace::SampleStream& snapshot, int64_t newLength, workspace::SampleStream& out) {
    if (!snapshot.hasPoints() || newLength < 1 || newLength > workspace::kMaxPoints)
        return false;
    std::vector<uint16_t> codes;
    codes.reserve(std::size_t(newLength));
    if (!workspace::StretchResample(snapshot.codes(), newLength, codes))
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
        // A single-precision quotient, so a sum beyond 2^24 is rounded before the division.
        const float mean = float(sum) / float(w);
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

int32_t VerticalOffsetLimit(int32_t midCode) {
    return std::min(2 * midCode, 32767);
}

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
