#pragma once
// What the expression benchmarks share: a full-length range, the 16-term harmonic sum and
// the evaluation of every point as the generation does it.

#include "common/numtext.h"
#include "synthesis/core/expression.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace plotwell::bench {

inline constexpr int kPoints = 1048576;

// Harmonics 1 to 16 at amplitudes 1/k and phases 10k degrees, as the harmonics dialog
// writes them.
inline std::string harmonics16(const char* function = "sin") {
    std::string e;
    for (int k = 1; k <= 16; ++k) {
        e += common::cformat(k == 1 ? "amp*%.2f*" : " + amp*%.2f*", 1.0 / k);
        e += common::cformat("%s(omg*(t*%d+per*%.2f/360))", function, k, 10.0 * k);
    }
    return e;
}

// Evaluates every point of a full-length range as the generation does, block by block.
inline void evaluateAll(benchmark::State& state, const std::string& text) {
    using namespace plotwell::synthesis;
    const auto params = ExpressionParameters::forRange(kPoints, 65535);
    std::vector<double> values(kPoints);
    for (auto _ : state) {
        ExpressionRandom random;
        MathsErrorReporter maths;
        ExpressionProgram program(text, params);
        for (int t0 = 0; t0 < kPoints; t0 += ExpressionProgram::kLanes) {
            EvaluationResult err;
            program.evaluateBlock(t0, ExpressionProgram::kLanes, values.data() + t0, random, &maths, &err);
        }
        benchmark::DoNotOptimize(values.data());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

} // namespace plotwell::bench
