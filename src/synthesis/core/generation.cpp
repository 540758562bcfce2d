#include "synthesis/core/generation.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace plotwell::synthesis {

namespace {

template <bool Divide>
bool codesOf(const double* values, int n, double shift, double divisor, double gain, int32_t midCode,
             int32_t offsetCodes, uint16_t* out) {
    const int64_t base = int64_t(midCode) + offsetCodes;
    const int64_t hi = std::clamp<int64_t>(2 * int64_t(midCode) - 1, 0, 65535);
    bool clipped = false;
    for (int k = 0; k < n; ++k) {
        double v = values[k] + shift;
        if constexpr (Divide)
            v = v / divisor;
        out[k] = uint16_t(codeWithin(v * gain, midCode, base, hi, clipped));
    }
    return clipped;
}

} // namespace

bool valuesToCodes(const double* values, int n, double shift, double divisor, double gain, int32_t midCode,
                   int32_t offsetCodes, uint16_t* out) {
    // Dividing by 1 changes no value: the usual case skips the division.
    return divisor == 1.0 ? codesOf<false>(values, n, shift, divisor, gain, midCode, offsetCodes, out)
                          : codesOf<true>(values, n, shift, divisor, gain, midCode, offsetCodes, out);
}

namespace {

struct PassResult {
    bool ok = false;
    bool clipped = false;
    double maximum = 1e39, minimum = 1e39;
};

// One pass over the range: measures the raw values, or writes the codes.
// `divisor` divides the shifted values before the gain multiplies them (1 but in the
// auto-level modes).
PassResult runPass(ExpressionContext& ctx, ExpressionProgram& program, MathsErrorReporter& maths,
                   workspace::SampleStream& target, int32_t start, int64_t per, bool write, double divisor,
                   GenerationSink& sink) {
    PassResult r;
    sink.progressShow();
    uint16_t* out = target.codes().data() + start;
    const double stepAt = 0.01 * double(per);
    double c = 0;
    bool first = true;
    double values[ExpressionProgram::kLanes];
    bool busySet = false;
    for (int64_t t0 = 0; t0 < per; t0 += ExpressionProgram::kLanes) {
        const int n = int(std::min<int64_t>(ExpressionProgram::kLanes, per - t0));
        EvaluationResult err;
        const int got = program.evaluateBlock(double(t0), n, values, ctx.Random, &maths, &err);
        if (!busySet) {
            sink.busy();
            busySet = true;
        }
        // The bar counts every point reached, the failing one too.
        for (int k = 0, reached = std::min(n, got + 1); k < reached; ++k) {
            if (c > stepAt) {
                sink.progressStep();
                c = 0;
            } else {
                c += 1;
            }
        }
        // The points before a failure are kept.
        const int good = std::min(n, got);
        if (write) {
            r.clipped |= valuesToCodes(values, good, ctx.Shift, divisor, ctx.Gain, ctx.MidCode,
                                       ctx.OffsetCodes, out + t0);
        } else {
            // A NaN first value stays the extreme: nothing compares above or below it.
            int k = 0;
            if (first && good > 0) {
                r.maximum = r.minimum = values[0];
                first = false;
                k = 1;
            }
            for (; k < good; ++k) {
                const double v = values[k];
                r.maximum = v > r.maximum ? v : r.maximum;
                r.minimum = v < r.minimum ? v : r.minimum;
            }
        }
        if (got < n) {
            ctx.Value = 0;
            ctx.ErrorCode = err.error;
            ctx.Cursor = err.marker;
            sink.message(expressionErrorMessage(err.error, ctx.ExprText, err.marker),
                         GenerationSink::Box::Error);
            sink.progressClose();
            return r;
        }
        ctx.Value = values[n - 1];
    }
    r.ok = true;
    return r;
}

double finiteOrZero(double v) {
    return std::isfinite(v) ? v : 0.0;
}

// Scales a measured extreme to the amplitude (or to mid-1 when the amplitude is larger):
// the gain and the divisor of the writing pass. Only an extreme that is 0, infinite or
// undefined leaves nothing to scale by: gain 0. For a tiny extreme the quotient
// amplitude/extreme overflows; the values are then divided by the extreme first and
// multiplied by the amplitude after.
std::pair<double, double> levelTo(double extreme, double amp, double mid) {
    if (extreme == 0 || !std::isfinite(extreme))
        return {0.0, 1.0};
    const double target = amp <= mid ? amp : mid - 1;
    const double gain = target / extreme;
    if (std::isfinite(gain))
        return {gain, 1.0};
    return {target, extreme};
}

} // namespace

GenerationOutcome generateWaveform(ExpressionContext& ctx, std::string_view expression, int32_t start,
                                   int32_t end, workspace::SampleStream& target,
                                   const WaveformDirectory* waveforms, GenerationSink& sink) {
    GenerationOutcome outcome;
    ctx.ErrorCode = 0;
    ctx.Depth = 0;
    ctx.Cursor = 0;
    ctx.ExprText = std::string(expression.substr(0, expression.find('\0')));

    if (!target.hasPoints()) {
        ctx.ErrorCode = ExprWaveformEmpty;
        sink.message(expressionErrorMessage(ExprWaveformEmpty, ctx.ExprText, 0), GenerationSink::Box::Error);
        return outcome;
    }
    // The callers clamp their fields, but nothing may make this routine write outside the samples.
    const int32_t last = target.lastIndex();
    if (start < 0 || start > last)
        start = 0;
    end = std::clamp(end, start, last);
    outcome.start = start;
    outcome.end = end;

    const int64_t per = int64_t(end) - start + 1;
    const ExpressionParameters params = ExpressionParameters::forRange(per, ctx.AmplitudeCodes);
    ctx.Per = params.Per;
    ctx.F = params.F;
    ctx.Omg = params.Omg;
    ctx.Amp = params.Amp;

    if (ctx.LevelMode != AsCalculated &&
        std::fabs(double(ctx.OffsetCodes)) + ctx.Amp > double(ctx.MidCode) - 1) {
        ctx.ErrorCode = ExprAutoLevelImpossible;
        sink.message(kAutoLevelImpossible, GenerationSink::Box::Error);
        return outcome;
    }

    MathsErrorReporter maths(
        [&sink](const std::string& text) { sink.message(text, GenerationSink::Box::Error); });
    ExpressionProgram program(ctx.ExprText, params, waveforms);

    double divisor = 1.0;
    if (ctx.LevelMode != AsCalculated) {
        const PassResult m = runPass(ctx, program, maths, target, start, per, false, divisor, sink);
        if (!m.ok)
            return outcome;
        double extreme;
        if (ctx.LevelMode == AutoAdjustPeak) {
            ctx.Shift = 0;
            extreme = std::max(std::fabs(m.minimum), std::fabs(m.maximum));
        } else {
            ctx.Shift = finiteOrZero(-(m.maximum + m.minimum) * 0.5);
            extreme = m.maximum + ctx.Shift;
        }
        std::tie(ctx.Gain, divisor) = levelTo(extreme, ctx.Amp, double(ctx.MidCode));
        ctx.LevelMode = AsCalculated;
    }

    const PassResult w = runPass(ctx, program, maths, target, start, per, true, divisor, sink);
    if (!w.ok)
        return outcome;
    outcome.clipped = w.clipped;
    sink.written();
    if (w.clipped && ctx.Gain == 1.0)
        sink.message(kClippedWarning, GenerationSink::Box::Warning);
    outcome.written = true;
    sink.progressClose();
    return outcome;
}

} // namespace plotwell::synthesis
