#pragma once
// The generator dialogs' shapes as expression texts, and where each dialog draws its two
// preview lines. Every template is formatted under the C locale: a decimal comma would end
// a bracket level of the expression and silently change the waveform.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace plotwell::synthesis {

// The longest expression a generator hands to the generation: the harmonics dialog's
// buffer, and within what the expression dialog holds. Typed numbers that would make a
// longer text are refused, never cut.
inline constexpr std::size_t kMaxGeneratedExpression = 1023;

// Periodic shapes: cycles over the range, the start phase in degrees at the first point.
std::string sineExpression(double cycles, double phase);
std::string triangleExpression(double cycles, double phase);
// High for the first `duty` percent of each cycle, low for the rest.
std::string squareExpression(double cycles, double duty);
std::string noiseExpression();

// A train of trapezoids between two levels in codes about the mid code; the times are
// percent of one cycle.
struct PulseTimes {
    double delay = 10.0, rise = 10.0, highTime = 40.0, fall = 10.0, cycles = 1.0;
};
std::string pulseExpression(const PulseTimes& shape, int32_t lowLevel, int32_t highLevel);

// sin(x)/x peaking at `phase` degrees of the range, with `zeroCrossings` crossings over
// the range at the default phase of 180.
std::string sincExpression(bool invert, double phase, int32_t zeroCrossings);
// exp(-t/T) from the first point, and a bell of width w centred in the range.
std::string exponentialExpression(bool invert, int32_t timeConstant);
std::string gaussianExpression(bool invert, int32_t width);

// The eleven timings and amplitudes of one heart beat, in percent, in the order ecg()
// takes them: PR interval, PR segment, QRS duration, ventricular activation time, QT
// interval, ST segment, then the P, Q, R, S and T wave amplitudes.
using CardiacPercents = std::array<double, 11>;
inline constexpr CardiacPercents kCardiacDefaults = {20.0, 10.0, 10.0,  5.0,  50.0, 20.0,
                                                     20.0, 10.0, 100.0, 30.0, 25.0};
std::string cardiacExpression(const CardiacPercents& percents, bool uWave, double cycles);

// One row of the harmonics table.
struct HarmonicRow {
    bool enabled = false;
    int32_t harmonic = 1;
    double amplitude = 0.0;
    double phase = 0.0;
};
inline constexpr int kHarmonicRows = 16;
// The enabled rows' sine terms, in order, joined by " + "; a later row keeps its " + "
// when the first is off. No enabled row gives the empty text (0 at every point).
std::string harmonicsExpression(std::span<const HarmonicRow> rows);

// ---- preview lines: drawn at Offset +- Amplitude in codes about the mid code ----------

struct PreviewLines {
    int32_t amplitude = 0;
    int32_t offset = 0;
    bool operator==(const PreviewLines&) const = default;
};

// Most generators: the lines at the peaks of the wave.
PreviewLines symmetricLines(int32_t amplitudeCodes, int32_t offsetCodes);
// The pulse: the lines at the two levels; A and B of its expression.
PreviewLines pulseLines(int32_t lowLevel, int32_t highLevel);
// The sinc: from its peak down to its deepest side lobe (about -0.217 of the peak).
PreviewLines sincLines(int32_t amplitudeCodes, int32_t offsetCodes, bool invert);
// The exponential and the Gaussian: on one side of the offset unless bipolar.
PreviewLines oneSidedLines(int32_t amplitudeCodes, int32_t offsetCodes, bool invert, bool bipolar);

} // namespace plotwell::synthesis
