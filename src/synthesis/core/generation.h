#pragma once
// Writing a range of a waveform from an expression: every point of the range is evaluated,
// levelled, rounded half away from zero, moved to the mid code plus the offset, clamped to
// the code range and stored. The auto-level modes measure the values in a first pass and
// write them, scaled, in a second.

#include "synthesis/core/expression.h"
#include "workspace/core/sample_stream.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace plotwell::synthesis {

// LevelMode: how generated values are levelled.
enum LevelMode : int32_t { AsCalculated = 0, AutoAdjustPeak = 1, AutoAdjustPkPk = 2 };

// The evaluation state the expression dialog holds; the generator dialogs fill it before
// each generation. Names follow the dialog's fields.
struct ExpressionContext {
    // Copy of the target's samples taken before the dialog opened; wfm() of the target reads it.
    workspace::SampleStream SavedSamples;
    int32_t Changed = 0;
    // Code of value 0 (the reference word, 1 read as 32768); codes run 0 .. 2*MidCode-1.
    int32_t MidCode = 32768;
    int32_t AmplitudeCodes = 0; // peak to peak, in codes
    int32_t OffsetCodes = 0;
    int32_t StartPoint = 0, EndPoint = 0, LastPoint = 0;
    std::string ExprText;   // the expression of the last run
    double Value = 0;       // value of the current point
    int32_t ErrorCode = 0;  // ExpressionErrorCode of the last run, 0 when it succeeded
    std::size_t Cursor = 0; // where in ExprText the last error was found
    int32_t Depth = 0;
    double Amp = 0, Per = 1, F = 1, Omg = kExprTwoPi;
    int32_t LevelMode = AsCalculated;
    double Gain = 1.0;  // multiplies every value after the shift
    double Shift = 0.0; // added to every value before the gain
    uint8_t Previewed = 0;
    // rnd's generator: one sequence for the life of the program.
    ExpressionRandom Random;
};

// What a generation shows while it runs; the dialog maps it onto windows.
class GenerationSink {
public:
    enum class Box { Error, Warning };
    virtual ~GenerationSink() = default;
    virtual void message(const std::string& /*text*/, Box /*icon*/) {}
    // The progress window: shown with its bar at 0 at the start of each pass, stepped
    // about a hundred times per pass, closed at the end or on an error.
    virtual void progressShow() {}
    virtual void progressStep() {}
    virtual void progressClose() {}
    // The range holds its new codes: the window shows them before any box about them.
    virtual void written() {}
    // The run has started computing (the busy cursor goes on; the caller restores it).
    virtual void busy() {}
};

struct GenerationOutcome {
    bool written = false;        // the whole range was written: redraw and publish
    bool clipped = false;        // some codes of the writing pass were clamped
    int32_t start = 0, end = -1; // the range used, after clamping
};

// Runs one generation of `expression` over points start..end of `target` with the
// context's MidCode, AmplitudeCodes, OffsetCodes, LevelMode, Gain and Shift. The range is
// clamped to the target (a start beyond the last point becomes 0, an end beyond it the last
// point, an end before the start the start); a target with no points is refused with
// error 15. The outcome is also in ctx.ErrorCode; points written before an error stay.
// `waveforms` is what wfm() may read (null: none).
GenerationOutcome generateWaveform(ExpressionContext& ctx, std::string_view expression, int32_t start,
                                   int32_t end, workspace::SampleStream& target,
                                   const WaveformDirectory* waveforms, GenerationSink& sink);

// The code of one value, given `base` = the mid code plus the offset and `hi` = the top
// code: rounded half away from zero, held within +-2^40 before it is truncated (so the sums
// cannot overflow), plus `base`, held within 0 .. hi (a held code sets `clipped`). NaN gives
// the mid code, never counted as clipped. Without branches, so a loop over a block of values
// vectorises.
inline int64_t codeWithin(double v, int64_t mid, int64_t base, int64_t hi, bool& clipped) {
    constexpr double kLimit = double(int64_t(1) << 40);
    const bool isNan = v != v;
    const double w = std::clamp(v >= 0 ? v + 0.5 : v - 0.5, -kLimit, kLimit);
    const int64_t t = int64_t(isNan ? 0.0 : w) + base;
    const bool over = t > hi, under = t < 0;
    clipped |= !isNan && (over || under);
    return isNan ? mid : over ? hi : under ? 0 : t;
}

// The code of one value: rounded half away from zero, plus the mid code and the offset, held
// within 0 .. 2*mid-1 (a held code sets *clipped when it is given); NaN gives the mid code.
inline int64_t valueToCode(double v, int32_t midCode, int32_t offsetCodes, bool* clipped) {
    bool held = false;
    const int64_t code = codeWithin(v, midCode, int64_t(midCode) + offsetCodes,
                                    std::clamp<int64_t>(2 * int64_t(midCode) - 1, 0, 65535), held);
    if (held && clipped)
        *clipped = true;
    return code;
}

// The codes of a block of n values as the writing pass makes them: each is
// valueToCode((value + shift) / divisor * gain, midCode, offsetCodes), in one loop
// the compiler can vectorise. Answers whether any code was clamped.
bool valuesToCodes(const double* values, int n, double shift, double divisor, double gain, int32_t midCode,
                   int32_t offsetCodes, uint16_t* out);

} // namespace plotwell::synthesis
