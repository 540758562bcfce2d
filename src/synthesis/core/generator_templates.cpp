#include "synthesis/core/generator_templates.h"

#include "common/numtext.h"
#include "common/saturate.h"

#include <algorithm>

namespace plotwell::synthesis {

namespace {
char signOf(bool invert) {
    return invert ? '-' : '+';
}
} // namespace

std::string sineExpression(double cycles, double phase) {
    return common::cformat("amp*sin(omg*(t*%1.2f+per*%1.2f/360))", cycles, phase);
}

std::string triangleExpression(double cycles, double phase) {
    return common::cformat("amp*asin(sin(omg*(t*%1.2f+per*%1.2f/360)))*2/pi", cycles, phase);
}

std::string squareExpression(double cycles, double duty) {
    // pulse() with no delay, rise or fall: high for the duty, low for the rest.
    return common::cformat("amp*pulse(0,0,%1.2f,0,%1.2f)", duty, cycles);
}

std::string noiseExpression() {
    return "amp*rnd";
}

std::string pulseExpression(const PulseTimes& s, int32_t lowLevel, int32_t highLevel) {
    // pulse() runs from -1 to +1: times A plus B it runs from the low to the high level.
    const PreviewLines ab = pulseLines(lowLevel, highLevel);
    return common::cformat("pulse(%1.2f,%1.2f,%1.2f,%1.2f,%1.2f)*%d+%d", s.delay, s.rise, s.highTime, s.fall,
                           s.cycles, ab.amplitude, ab.offset);
}

std::string sincExpression(bool invert, double phase, int32_t zeroCrossings) {
    // 10^-9 keeps the denominator off exactly 0 at the peak.
    return common::cformat("%camp*sin(pi*f*(10^-9+t-per*%1.2f/360)*%d)/(pi*f*(10^-9+t-per*%1.2f/360)*%d)",
                           signOf(invert), phase, zeroCrossings, phase, zeroCrossings);
}

std::string exponentialExpression(bool invert, int32_t timeConstant) {
    return common::cformat("%camp*exp(-t/%d)", signOf(invert), timeConstant);
}

std::string gaussianExpression(bool invert, int32_t width) {
    return common::cformat("%camp*e^(-(t-per/2)^2/(%d^2))", signOf(invert), width);
}

std::string cardiacExpression(const CardiacPercents& p, bool uWave, double cycles) {
    return common::cformat(
        "amp*ecg(%1.2f,%1.2f,%1.2f,%1.2f,%1.2f,%1.2f,%1.2f,%1.2f,%1.2f,%1.2f,%1.2f,%s,%1.2f)", p[0], p[1],
        p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9], p[10], uWave ? "1.00" : "0.00", cycles);
}

std::string harmonicsExpression(std::span<const HarmonicRow> rows) {
    std::string out;
    bool first = true;
    for (const HarmonicRow& r : rows) {
        if (first) {
            // Only the table's first row goes without " + ".
            first = false;
            if (r.enabled)
                out += common::cformat("amp*%.2f*sin(omg*(t*%d+per*%.2f/360))", r.amplitude, r.harmonic,
                                       r.phase);
            continue;
        }
        if (r.enabled)
            out +=
                common::cformat(" + amp*%.2f*sin(omg*(t*%d+per*%.2f/360))", r.amplitude, r.harmonic, r.phase);
    }
    return out;
}

PreviewLines symmetricLines(int32_t amplitudeCodes, int32_t offsetCodes) {
    return {amplitudeCodes / 2, offsetCodes};
}

PreviewLines pulseLines(int32_t lowLevel, int32_t highLevel) {
    // In 64 bits: typed levels may be anywhere in the int32 range.
    const int64_t lo = lowLevel, hi = highLevel;
    return {int32_t((hi - lo) / 2), int32_t((hi + lo) / 2)};
}

PreviewLines sincLines(int32_t amplitudeCodes, int32_t offsetCodes, bool invert) {
    // The height from the deepest side lobe to the peak, relative to the peak, kept at
    // single precision as the lines have always been placed.
    constexpr float k = 1.2173913f;
    const double s = invert ? -1.0 : 1.0;
    const double a = double(amplitudeCodes);
    return {common::toInt32(a * k * 0.25), common::toInt32((1.0 - k * 0.5) * s * a * 0.5 + offsetCodes)};
}

PreviewLines oneSidedLines(int32_t amplitudeCodes, int32_t offsetCodes, bool invert, bool bipolar) {
    if (bipolar)
        return symmetricLines(amplitudeCodes, offsetCodes);
    // In 64 bits: typed amplitudes and offsets may be anywhere in the int32 range.
    const int64_t s = invert ? -1 : 1;
    const int64_t offset = int64_t(offsetCodes) + (s * amplitudeCodes) / 4;
    return {amplitudeCodes / 4, int32_t(std::clamp<int64_t>(offset, INT32_MIN, INT32_MAX))};
}

} // namespace plotwell::synthesis
