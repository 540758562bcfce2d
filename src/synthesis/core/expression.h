#pragma once
// The expression language: numbers, the operators + - * / ^, brackets, the constants pi and
// e, the variables t (or p), per, f, omg and amp, the functions sin cos asin acos exp log ln
// sqrt abs floor ceil, the shapes pulse() and ecg(), rnd, and wfm(name) that reads another
// open waveform.
//
// The language is defined by a scanner that reads the text afresh for every point, with
// quirks the users rely on: a ',' ends every bracket level, a trailing operator ends its
// level with the value reached so far, two pending slots give the precedence, and the
// first error stops the point with a marker at a fixed place in the text. Reading a
// million points that way is slow, so the text is read ONCE per run: the scan is followed
// symbolically (its path depends only on the text, never on values) and every step it
// would compute becomes one instruction of a straight-line program. Errors that depend on
// values (divide by zero, domain checks, pulse cycles, exponent above 200) stay checks in
// that program at the place the scan meets them; errors of the text itself end the program
// with their code and marker, after whatever the scan would have computed before them (so
// rnd draws and maths reports happen in the same order). Constant steps are folded when
// they cannot fail or report.
//
// The program runs over blocks of points, one instruction at a time for the whole block.
// When a block meets a failing check, a maths report not yet made in this run, or a static
// error, it is run again point by point from the same rnd state, which reproduces the
// scanner's order exactly.

#include "synthesis/core/expression_errors.h"
#include "synthesis/core/expression_random.h"
#include "synthesis/core/maths_check.h"
#include "workspace/core/sample_stream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plotwell::synthesis {

// The literals the language defines its constants with (not full-precision pi and e).
inline constexpr double kExprPi = 3.14159265358979;
inline constexpr double kExprE = 2.71828182845904;
inline constexpr double kExprTwoPi = 6.28318530717958;

// Values of the keywords amp, per, f and omg for one run.
struct ExpressionParameters {
    double Amp = 0;
    double Per = 1;
    double F = 1;
    double Omg = kExprTwoPi;

    // per = points, f = 1/per, omg = 2 pi f, amp = half the peak-to-peak amplitude less one.
    static ExpressionParameters forRange(int64_t points, int64_t amplitudeCodes) {
        ExpressionParameters p;
        p.Per = double(points);
        p.F = 1.0 / p.Per;
        p.Omg = kExprTwoPi * p.F;
        p.Amp = (double(amplitudeCodes) + 1.0) * 0.5 - 1.0;
        return p;
    }
};

// What wfm() may read of one open waveform.
struct WaveformView {
    const workspace::SampleStream* samples = nullptr;
    int32_t selectionStart = 0;
    int32_t selectionEnd = -1;
};

// The open waveforms by file name, in the frame's window order; wfm() looks a name up from
// the last entry to the first, by exact, case-sensitive comparison.
class WaveformDirectory {
public:
    void add(std::string name, WaveformView view) { entries_.push_back({std::move(name), view}); }
    const WaveformView* find(std::string_view name) const;
    std::size_t size() const { return entries_.size(); }

private:
    struct Entry {
        std::string name;
        WaveformView view;
    };
    std::vector<Entry> entries_;
};

// The value of one point, or the error that stopped it (value 0 then). The marker is the
// offset in the text where the scan stopped; never past the end of the text.
struct EvaluationResult {
    double value = 0;
    int32_t error = 0;
    std::size_t marker = 0;
};

class ExpressionProgram {
public:
    // Points evaluated together in a block.
    static constexpr int kLanes = 128;
    // Bracket levels deeper than this are refused with error 1 at the opening bracket.
    static constexpr int kMaxDepth = 127;

    // Reads `text` once with the keyword values `params`; `waveforms` (may be null: every
    // wfm() name is then unknown) must outlive the program, as must the samples it names.
    ExpressionProgram(std::string_view text, const ExpressionParameters& params,
                      const WaveformDirectory* waveforms = nullptr);
    ~ExpressionProgram();
    ExpressionProgram(ExpressionProgram&&) noexcept;
    ExpressionProgram& operator=(ExpressionProgram&&) noexcept;

    // Evaluates point t. rnd draws come from `random`; maths failures go to `maths` (may be null).
    EvaluationResult evaluate(double t, ExpressionRandom& random, MathsErrorReporter* maths);

    // Evaluates points t0, t0+1, ... t0+n-1 (n <= kLanes) into values[0..n-1]. Returns the
    // number of points computed; when it is below n, the next point failed with *error.
    int evaluateBlock(double t0, int n, double* values, ExpressionRandom& random, MathsErrorReporter* maths,
                      EvaluationResult* error);

    // The text as evaluated (up to its first NUL).
    const std::string& text() const;
    // Instructions after folding; for tests and benchmarks.
    std::size_t instructionCount() const;

    // The prepared form; opaque outside expression.cpp.
    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// The pure entry point: evaluates `text` for point t with the keyword values `params`,
// drawing rnd from `random` (a fresh program-start generator when null), reading wfm()
// through `waveforms` (none when null) and reporting maths failures to `maths` (none when
// null). Never throws, never reads outside the text, whatever bytes it holds.
EvaluationResult evaluateExpression(std::string_view text, double t, const ExpressionParameters& params,
                                    ExpressionRandom* random = nullptr,
                                    const WaveformDirectory* waveforms = nullptr,
                                    MathsErrorReporter* maths = nullptr);

} // namespace plotwell::synthesis
