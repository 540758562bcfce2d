// The expression engine on a full-length waveform (1,048,576 points): the generator
// templates as the dialogs format them, and muParser evaluating the same sine formula
// point by point for comparison.

#include "expr_bench_support.h"

#include "common/numtext.h"
#include "synthesis/core/expression.h"
#include "synthesis/core/generation.h"
#include "synthesis/core/generator_templates.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <vector>

using namespace plotwell;
using namespace plotwell::synthesis;

namespace {

using bench::evaluateAll;
using bench::harmonics16;
using bench::kPoints;

std::string sineTemplate() {
    return sineExpression(1.0, 0.0);
}

void BM_SineTemplate(benchmark::State& state) {
    evaluateAll(state, sineTemplate());
}
BENCHMARK(BM_SineTemplate)->Unit(benchmark::kMillisecond);

void BM_SineTemplate_muParser(benchmark::State& state) {
    const auto params = ExpressionParameters::forRange(kPoints, 65535);
    std::vector<double> values(kPoints);
    double amp = params.Amp, omg = params.Omg, per = params.Per, t = 0;
    for (auto _ : state) {
        mu::Parser parser;
        parser.DefineVar("amp", &amp);
        parser.DefineVar("omg", &omg);
        parser.DefineVar("per", &per);
        parser.DefineVar("t", &t);
        parser.SetExpr(sineTemplate());
        for (int i = 0; i < kPoints; ++i) {
            t = i;
            values[i] = parser.Eval();
        }
        benchmark::DoNotOptimize(values.data());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_SineTemplate_muParser)->Unit(benchmark::kMillisecond);

void BM_Harmonics16(benchmark::State& state) {
    evaluateAll(state, harmonics16());
}
BENCHMARK(BM_Harmonics16)->Unit(benchmark::kMillisecond);

// The evaluator's own share of the harmonic sum: the same program with abs() in place of
// sin(), so that only the arithmetic and the loop remain.
void BM_Harmonics16_AbsInsteadOfSin(benchmark::State& state) {
    evaluateAll(state, harmonics16("abs"));
}
BENCHMARK(BM_Harmonics16_AbsInsteadOfSin)->Unit(benchmark::kMillisecond);

// The floor under the harmonic sum: its 16 sines per point in the C library alone.
void BM_Harmonics16_LibmSinOnly(benchmark::State& state) {
    const auto params = ExpressionParameters::forRange(kPoints, 65535);
    std::vector<double> values(kPoints);
    for (auto _ : state) {
        for (int i = 0; i < kPoints; ++i) {
            double s = 0;
            for (int k = 1; k <= 16; ++k)
                s += std::sin(params.Omg * (i * k + params.Per * 10.0 * k / 360));
            values[i] = s;
        }
        benchmark::DoNotOptimize(values.data());
    }
}
BENCHMARK(BM_Harmonics16_LibmSinOnly)->Unit(benchmark::kMillisecond);

void BM_Pulse(benchmark::State& state) {
    evaluateAll(state, common::cformat("pulse(%1.2f,%1.2f,%1.2f,%1.2f,%1.2f)*%d+%d", 10.0, 10.0, 40.0, 10.0,
                                       50.0, 32767, 0));
}
BENCHMARK(BM_Pulse)->Unit(benchmark::kMillisecond);

void BM_Ecg(benchmark::State& state) {
    evaluateAll(state,
                "amp*ecg(20.00,10.00,10.00,5.00,50.00,20.00,20.00,10.00,100.00,30.00,25.00,1.00,60.00)");
}
BENCHMARK(BM_Ecg)->Unit(benchmark::kMillisecond);

// The whole generation of the sine template in auto pk-pk mode: a measuring pass and a
// writing pass over a full-length waveform.
void BM_GenerateSineAutoPkPk(benchmark::State& state) {
    workspace::SampleStream target(1, kPoints, 0);
    ExpressionContext ctx;
    GenerationSink sink;
    const std::string text = sineTemplate();
    for (auto _ : state) {
        ctx.MidCode = 32768;
        ctx.AmplitudeCodes = 65535;
        ctx.OffsetCodes = 0;
        ctx.LevelMode = AutoAdjustPkPk;
        ctx.Gain = 1.0;
        ctx.Shift = 0.0;
        generateWaveform(ctx, text, 0, kPoints - 1, target, nullptr, sink);
        benchmark::DoNotOptimize(target.codes().data());
    }
    state.SetItemsProcessed(state.iterations() * kPoints * 2);
}
BENCHMARK(BM_GenerateSineAutoPkPk)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
