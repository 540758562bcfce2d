#include "synthesis/core/expression_waves.h"

#include "common/saturate.h"
#include "synthesis/core/maths_check.h"

#include <cmath>

namespace plotwell::synthesis {

namespace {
constexpr int64_t kPosLimit = int64_t(1) << 62;
constexpr double kTwoPi = 6.28318530717958; // the literal the shapes were defined with
} // namespace

int64_t cyclePosition(double t, double cyc) {
    using common::saturateTrunc;
    const int64_t c = saturateTrunc(cyc, -kPosLimit, kPosLimit, 0);
    if (c < 1)
        return 0;
    return saturateTrunc(t, -kPosLimit, kPosLimit, 0) % c;
}

PulseShape::PulseShape(double per, const std::array<double, 5>& a) {
    cyc_ = per / a[4];
    const double d = 0.01 * a[0] * cyc_;
    rise_ = 0.01 * a[1] * cyc_;
    const double h = 0.01 * a[2] * cyc_;
    fall_ = 0.01 * a[3] * cyc_;
    double s = 0;
    e0_ = s + d;
    s += d;
    s1_ = s;
    e1_ = s + rise_;
    s += rise_;
    s2_ = s;
    e2_ = s + h;
    s += h;
    s3_ = s;
    e3_ = s + fall_;
}

double PulseShape::at(double t, MathsErrorReporter*) const {
    const double pos = double(cyclePosition(t, cyc_));
    if (pos < e0_)
        return -1;
    if (pos < e1_)
        return (pos - s1_) * 2 / rise_ - 1;
    if (pos < e2_)
        return 1;
    if (pos < e3_)
        return -((pos - s3_) * 2 / fall_ - 1);
    return -1;
}

EcgShape::EcgShape(double per, const std::array<double, 13>& args) : args_(args) {
    cyc_ = per / args[12];
    const double PRint = args[0], PRseg = args[1], QRSdur = args[2], VAT = args[3], QTint = args[4],
                 STseg = args[5];
    const bool uwave = args[11] == 1.0;
    // Lengths in extended precision; the segment ends are compared as doubles.
    const long double cyc = cyc_;
    const long double a = (1.0L / 300.0L) * cyc;
    const long double B = uwave ? 90 : 100;
    const long double len[13] = {
        0.005L * (B - PRint - QTint) * cyc,
        2 * a * (PRint - PRseg),
        a * (PRint - PRseg),
        0.01L * PRseg * cyc,
        a * VAT,
        2 * a * VAT,
        2 * a * (QRSdur - VAT),
        a * (QRSdur - VAT),
        0.01L * STseg * cyc,
        2 * a * (QTint - QRSdur - STseg),
        a * (QTint - QRSdur - STseg),
        0.05L * cyc,
        0.05L * cyc,
    };
    count_ = uwave ? 13 : 11;
    long double s = 0;
    for (int i = 0; i < count_; ++i) {
        seg_[i].start = double(s);
        seg_[i].length = double(len[i]);
        seg_[i].end = double(s + len[i]);
        s += len[i];
    }
}

double EcgShape::at(double t, MathsErrorReporter* maths) const {
    const double pos = double(cyclePosition(t, cyc_));
    const double Pampl = args_[6], Qampl = args_[7], Rampl = args_[8], Sampl = args_[9], Tampl = args_[10];
    int i = 0;
    while (i < count_ && !(pos < seg_[i].end))
        ++i;
    if (i == count_)
        return 0;
    const double x = pos - seg_[i].start;
    const double L = seg_[i].length;
    // A segment too short for 2*pi/L to be finite makes its sine fail as sin() would.
    auto q = [&] { return checkedSinInline(kTwoPi / L * x * 0.25, maths); };
    auto d = [&] { return checkedSinInline(kTwoPi / L * ((1.0 / 360.0) * L * 90 + x * 0.25), maths); };
    switch (i) {
    case 1:
        return 0.01 * Pampl * q();
    case 2:
        return 0.01 * Pampl * d();
    case 4:
        return -0.01 * Qampl + 0.01 * Qampl * d();
    case 5:
        return -0.01 * Qampl + 0.01 * (Qampl + Rampl) * x / L;
    case 6:
        return 0.01 * Rampl - 0.01 * (Rampl + Sampl) * x / L;
    case 7:
        return -0.01 * Sampl + 0.01 * Sampl * q();
    case 9:
        return 0.01 * Tampl * q();
    case 10:
        return 0.01 * Tampl * d();
    case 12:
        return 0.05 * checkedSinInline(kTwoPi / L * x * 0.5, maths);
    default:
        return 0; // lead-in, PR and ST segments, pause
    }
}

} // namespace plotwell::synthesis
