#include "synthesis/core/maths_check.h"

#include <cmath>
#include <limits>

namespace plotwell::synthesis {

void MathsErrorReporter::report(MathsFunction f, MathsFault kind) {
    const uint32_t b = bit(f, kind);
    if (reported_ & b)
        return;
    reported_ |= b;
    if (sink_)
        sink_(text(f, kind));
}

std::string MathsErrorReporter::text(MathsFunction f, MathsFault kind) {
    static const char* const names[] = {"pow", "exp", "sin", "cos"};
    static const char* const kinds[] = {"DOMAIN", "SING", "OVERFLOW"};
    return std::string(names[unsigned(f)]) + ": " + kinds[unsigned(kind)] + " error";
}

namespace {
inline void note(MathsErrorReporter* r, MathsFunction f, MathsFault k) {
    if (r)
        r->report(f, k);
}
} // namespace

double checkedPow(double x, double y, MathsErrorReporter* reporter) {
    const double r = power(x, y);
    // A NaN argument is not a domain error: it only passes through.
    if (std::isnan(x) || std::isnan(y))
        return r;
    if (x < 0 && std::isfinite(x) && std::isfinite(y) && y != std::trunc(y)) {
        note(reporter, MathsFunction::Pow, MathsFault::Domain);
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (x == 0 && y < 0) {
        note(reporter, MathsFunction::Pow, MathsFault::Sing);
        return r;
    }
    if (std::isinf(r) && std::isfinite(x) && std::isfinite(y))
        note(reporter, MathsFunction::Pow, MathsFault::Overflow);
    return r;
}

double checkedExp(double x, MathsErrorReporter* reporter) {
    const double r = std::exp(x);
    if (std::isinf(r) && std::isfinite(x))
        note(reporter, MathsFunction::Exp, MathsFault::Overflow);
    return r;
}

double checkedSin(double x, MathsErrorReporter* reporter) {
    if (std::isinf(x)) {
        note(reporter, MathsFunction::Sin, MathsFault::Domain);
        return std::numeric_limits<double>::quiet_NaN();
    }
    return std::sin(x);
}

double checkedCos(double x, MathsErrorReporter* reporter) {
    if (std::isinf(x)) {
        note(reporter, MathsFunction::Cos, MathsFault::Domain);
        return std::numeric_limits<double>::quiet_NaN();
    }
    return std::cos(x);
}

} // namespace plotwell::synthesis
