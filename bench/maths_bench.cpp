// The sample maths on 1,048,576 points: resize both ways, the widest smoothing, and the
// scalar, two-waveform and vertical kernels.

#include "synthesis/core/sample_maths.h"

#include "bench_wave.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace plotwell;
using synthesis::PointRange;
using workspace::SampleStream;

namespace {

constexpr int kPoints = kBenchPoints;
const SampleStream& wave() {
    return benchWave();
}

const PointRange kAll{0, kPoints - 1};

void BM_Resize(benchmark::State& state) {
    SampleStream out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(synthesis::ResizeSamples(wave(), state.range(0), out));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Resize)->Arg(1048575)->Arg(524288)->Arg(2097152)->Unit(benchmark::kMillisecond);

void BM_SmoothWidest(benchmark::State& state) {
    SampleStream work = wave();
    for (auto _ : state)
        benchmark::DoNotOptimize(synthesis::SmoothRange(work.codes(), kAll, kPoints));
}
BENCHMARK(BM_SmoothWidest)->Unit(benchmark::kMillisecond);

void BM_ScalarMultiply(benchmark::State& state) {
    SampleStream work = wave();
    for (auto _ : state)
        benchmark::DoNotOptimize(synthesis::ApplyScalar(wave().codes(), work.codes(), kAll, 32768,
                                                        synthesis::ScalarOp::Multiply, 0.75));
}
BENCHMARK(BM_ScalarMultiply)->Unit(benchmark::kMillisecond);

void BM_TwoWaveformSumWithFit(benchmark::State& state) {
    SampleStream work = wave();
    const synthesis::MathSource a{wave().codes(), 32768};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            synthesis::CombineWaveforms(a, a, work.codes(), kAll, 32768, synthesis::MathOp::Sum, true));
}
BENCHMARK(BM_TwoWaveformSumWithFit)->Unit(benchmark::kMillisecond);

void BM_Vertical(benchmark::State& state) {
    SampleStream work = wave();
    for (auto _ : state) {
        synthesis::AdjustVertical(wave().codes(), work.codes(), 32768, {-300, 500, true});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Vertical)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
