// Expression text typed by users or read from history files and the expression library.
// Besides not crashing, a block of points must give exactly what the same points give
// one by one (values, the first error and its marker, rnd draws, maths reports).

#include "fuzz_check.h"
#include "synthesis/core/expression.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

using namespace plotwell::synthesis;
using plotwell::workspace::SampleStream;

namespace {
bool same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

struct Setting {
    int64_t points;
    int64_t amplitude;
    double t0;
};
// The parameters are chosen by the program, not the user: a few typical sets, picked by
// the input's length so every set meets every kind of text.
constexpr Setting kSettings[] = {
    {1000, 4095, 0},
    {1, 0, 0},
    {1048576, 65535, 1048576 - 100},
    {7, 255, -3},
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Setting& s = kSettings[size % std::size(kSettings)];
    const ExpressionParameters params = ExpressionParameters::forRange(s.points, s.amplitude);

    // Two open waveforms for wfm(): one with points and a selection inside it, one empty.
    static const SampleStream wave = [] {
        SampleStream w(2048, 16);
        for (std::size_t i = 0; i < 16; ++i)
            w.setCode(i, uint16_t(i * 273));
        return w;
    }();
    static const SampleStream none;
    WaveformDirectory dir;
    dir.add("a", {&wave, 2, 9});
    dir.add("e", {&none, 0, -1});

    ExpressionProgram program(text, params, &dir);
    FUZZ_CHECK(program.text().size() <= text.size());

    const int n = 1 + int(size % 40);
    double values[ExpressionProgram::kLanes];
    ExpressionRandom blockRandom, pointRandom;
    MathsErrorReporter blockMaths, pointMaths;
    EvaluationResult blockError;
    const int done = program.evaluateBlock(s.t0, n, values, blockRandom, &blockMaths, &blockError);
    FUZZ_CHECK(done >= 0 && done <= n);
    for (int i = 0; i < n; ++i) {
        const EvaluationResult r = program.evaluate(s.t0 + i, pointRandom, &pointMaths);
        FUZZ_CHECK(r.marker <= text.size());
        if (r.error != 0) {
            FUZZ_CHECK(i == done);
            FUZZ_CHECK(blockError.error == r.error && blockError.marker == r.marker);
            break;
        }
        FUZZ_CHECK(i < done);
        FUZZ_CHECK(same(values[i], r.value));
    }
    if (done == n) {
        FUZZ_CHECK(blockRandom.state() == pointRandom.state());
        FUZZ_CHECK(blockMaths.mask() == pointMaths.mask());
    }
    // The one-point entry point the dialogs use.
    (void)evaluateExpression(text, s.t0, params, nullptr, &dir, nullptr);
    return 0;
}
