#pragma once
// Checked pow, exp, sin and cos. The C library here has no error handler hook, so the
// failures the evaluator's own checks miss are classified explicitly and reported as
// "<function>: <KIND> error", at most once per function and kind in one run. The result
// is the library's default (NaN for DOMAIN, +-inf for SING and OVERFLOW); UNDERFLOW gives
// 0 and is not reported.

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

namespace plotwell::synthesis {

enum class MathsFunction : uint8_t { Pow, Exp, Sin, Cos };
enum class MathsFault : uint8_t { Domain, Sing, Overflow };

// Collects the reports of one run and passes each new (function, kind) to its sink.
class MathsErrorReporter {
public:
    using Sink = std::function<void(const std::string& text)>;

    MathsErrorReporter() = default;
    explicit MathsErrorReporter(Sink sink) : sink_(std::move(sink)) {}

    void report(MathsFunction f, MathsFault kind);
    // Forgets what was reported: the next run reports again.
    void reset() { reported_ = 0; }
    // True when (f, kind) has been reported in this run.
    bool reported(MathsFunction f, MathsFault kind) const { return reported_ & bit(f, kind); }
    // One bit per (function, kind) reported so far.
    uint32_t mask() const { return reported_; }

    static std::string text(MathsFunction f, MathsFault kind);

private:
    static uint32_t bit(MathsFunction f, MathsFault kind) { return 1u << (unsigned(f) * 3 + unsigned(kind)); }
    Sink sink_;
    uint32_t reported_ = 0;
};

// The checked functions; `reporter` may be null (nothing is reported then).
double checkedPow(double x, double y, MathsErrorReporter* reporter);
double checkedExp(double x, MathsErrorReporter* reporter);
double checkedSin(double x, MathsErrorReporter* reporter);
double checkedCos(double x, MathsErrorReporter* reporter);

// Inline for the evaluator's loops: only an infinite argument leaves the fast path.
inline double checkedSinInline(double x, MathsErrorReporter* reporter) {
    return __builtin_expect(std::isinf(x), 0) ? checkedSin(x, reporter) : std::sin(x);
}
inline double checkedCosInline(double x, MathsErrorReporter* reporter) {
    return __builtin_expect(std::isinf(x), 0) ? checkedCos(x, reporter) : std::cos(x);
}
// x^y without the checks. A square is one correctly rounded product; pow() is slower and
// now and then a unit of the last place off.
inline double power(double x, double y) {
    return y == 2.0 ? x * x : std::pow(x, y);
}

// The usual powers, a square or a positive finite base, with finite operands: their only
// fault is an overflow. Everything else, and the overflow, goes the checked way.
inline double checkedPowInline(double x, double y, MathsErrorReporter* reporter) {
    if (__builtin_expect(std::isfinite(x) && std::isfinite(y) && (y == 2.0 || x > 0), 1)) {
        const double r = power(x, y);
        if (__builtin_expect(!std::isinf(r), 1))
            return r;
    }
    return checkedPow(x, y, reporter);
}

} // namespace plotwell::synthesis
