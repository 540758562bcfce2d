#pragma once
// The language's built-in periodic shapes: pulse() (delay, ramp up, high, ramp down) and
// ecg() (a cardiac cycle of P, QRS, T and optional U waves). Both are built once for a set
// of arguments and then read per point, since the arguments rarely change between points.

#include <array>
#include <cstdint>

namespace plotwell::synthesis {

class MathsErrorReporter;

// Position of point t inside a cycle of int(cyc) points. A cycle shorter than one point
// (more cycles than points) puts every point at position 0.
int64_t cyclePosition(double t, double cyc);

// pulse(dly, rise, hi, fall, cycl); arguments in percent of a cycle. cycl must be > 0.
class PulseShape {
public:
    PulseShape(double per, const std::array<double, 5>& args);
    // The reporter is unused: a pulse has no maths that can fail. It is taken so that
    // both shapes are read alike.
    double at(double t, MathsErrorReporter*) const;

private:
    double cyc_;
    double rise_, fall_;
    double s1_, s2_, s3_;      // starts of rise, high and fall
    double e0_, e1_, e2_, e3_; // ends of delay, rise, high and fall
};

// ecg(PRint, PRseg, QRSdur, VAT, QTint, STseg, Pampl, Qampl, Rampl, Sampl, Tampl, Uwave,
// cycles). cycles must be > 0.
class EcgShape {
public:
    EcgShape(double per, const std::array<double, 13>& args);
    // Its sines are checked like the language's sin() and report through `maths` (may be
    // null).
    double at(double t, MathsErrorReporter* maths) const;

private:
    struct Segment {
        double start = 0, length = 0, end = 0;
    };
    double cyc_;
    std::array<double, 13> args_;
    std::array<Segment, 13> seg_{};
    int count_ = 11; // 13 with the U wave
};

} // namespace plotwell::synthesis
