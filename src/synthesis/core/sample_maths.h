#pragma once
// The sample maths behind the edit dialogs: scalar add and multiply, two-waveform arithmetic,
// resize, smoothing and vertical adjustment. Each works on spans of codes about a mid code R'
// (32768 for normalised data), codes 0..2R'-1, and never touches a point outside the range it
// is given. Ranges come from edit fields, so every kernel first brings its range within the
// points (ClampRange) rather than trusting it.

#include "workspace/core/sample_stream.h"

#include <cstdint>
#include <span>

namespace plotwell::synthesis {

// An inclusive run of points; empty when last < first.
struct PointRange {
    int64_t first = 0;
    int64_t last = -1;
    int64_t count() const { return last < first ? 0 : last - first + 1; }
    bool operator==(const PointRange&) const = default;
};

// The range fields' exit rules applied to a waveform of `points` points: a start beyond the
// last point becomes 0 (so does a negative one), and the end is lowered to the last point and
// raised to the start. Empty when there are no points.
PointRange ClampRange(int64_t start, int64_t end, int64_t points);

// ---- scalar operations ----------------------------------------------------------------
enum class ScalarOp : int32_t { Add = 0, Multiply = 1 };

// target[i] = snapshot[i] + trunc(scalar), or trunc((snapshot[i] - R') * scalar + R'), for i in
// `range`, each clipped into 0..2R'-1. Points outside the range are left as they are. True when
// a point was clipped.
bool ApplyScalar(std::span<const uint16_t> snapshot, std::span<uint16_t> target, PointRange range,
                 int32_t midCode, ScalarOp op, double scalar);

// ---- two-waveform arithmetic -----------------------------------------------------------
enum class MathOp : int32_t { Sum = 0, Difference = 1, Product = 2 };

// One source: the codes of its selection and its own mid code.
struct MathSource {
    std::span<const uint16_t> codes;
    int32_t midCode = 32768;
};

struct CombineResult {
    bool clipped = false; // the last pass clipped (never after a fit)
    double gain = 1.0;    // the gain of the last pass
    int64_t written = 0;  // points written from range.first on
};

// Writes a (op) b about each source's mid code into target from range.first on, for as many
// points as the range and both selections have. With `fit`, a pass that clipped is run again
// scaled so that the largest magnitude lands on R' - 1. The sources must not alias `target`:
// a source that is the target window is read from its snapshot.
CombineResult CombineWaveforms(const MathSource& a, const MathSource& b, std::span<uint16_t> target,
                               PointRange range, int32_t midCode, MathOp op, bool fit);

// ---- resize ----------------------------------------------------------------------------
// The whole of `snapshot` stretched or shrunk to `newLength` points with the stretch resampler;
// the reference word is kept. False, leaving `out` alone, for a length outside 1..1,048,576 or
// a snapshot without points.
bool ResizeSamples(const workspace::SampleStream& snapshot, int64_t newLength, workspace::SampleStream& out);

// ---- smoothing -------------------------------------------------------------------------
// The averaging width an Apply uses for `requested` over `range`: at most a tenth of the
// range, and odd (an even width goes up by one).
int32_t SmoothingWidth(int32_t requested, PointRange range);

// One Apply: a centred running average of SmoothingWidth points over `range`, in place. The
// first w/2 and the last w/2 + 2 points of the range keep their values. Returns the width used.
int32_t SmoothRange(std::span<uint16_t> samples, PointRange range, int32_t requested);

// ---- vertical adjustment ---------------------------------------------------------------
struct VerticalAdjustment {
    int32_t amplitude = 0; // scroll position -1000 (x6) .. 1000 (x1/21)
    int32_t offset = 0;    // scroll position; negative raises the waveform
    bool inverted = false;
};

// The gain of an amplitude scroll position, in single precision.
float VerticalGain(int32_t amplitude);
// The offset bar's end: 2R' lowered to 32767.
int32_t VerticalOffsetLimit(int32_t midCode);

// target[i] = the adjusted snapshot[i], clamped silently into 0..2R'-1; both spans are the
// selection and have the same length.
void AdjustVertical(std::span<const uint16_t> snapshot, std::span<uint16_t> target, int32_t midCode,
                    const VerticalAdjustment& adjustment);

} // namespace plotwell::synthesis
