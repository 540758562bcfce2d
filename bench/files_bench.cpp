// Waveform files on 1,048,576 points: the own format loaded and saved through real files,
// the text formats encoded and decoded, and the resampler both ways.

#include "platform/posix/atomic_file.h"
#include "workspace/core/file_types.h"
#include "workspace/core/resample.h"
#include "workspace/core/wave_files.h"

#include "bench_wave.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <unistd.h>

using namespace plotwell;
using workspace::SampleStream;

namespace {

constexpr int kPoints = kBenchPoints;
const SampleStream& wave() {
    return benchWave();
}

std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + name)).string();
}

void BM_WfmSaveAndLoadFile(benchmark::State& state) {
    const std::string path = tempPath("-bench.wfm");
    std::string out;
    SampleStream back;
    for (auto _ : state) {
        workspace::WriteInternal(wave(), 0, kPoints - 1, out);
        if (!platform::writeFileAtomically(path, out))
            state.SkipWithError("write failed");
        const auto bytes =
            platform::readFileBytes(path, workspace::MaxWaveFileBytes(workspace::WaveFileType::Internal));
        if (!bytes || !workspace::ReadInternal(*bytes, back))
            state.SkipWithError("read failed");
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_WfmSaveAndLoadFile)->Unit(benchmark::kMillisecond);

void BM_WfmEncodeAndDecode(benchmark::State& state) {
    std::string out;
    SampleStream back;
    for (auto _ : state) {
        workspace::WriteInternal(wave(), 0, kPoints - 1, out);
        workspace::ReadInternal(out, back);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_WfmEncodeAndDecode)->Unit(benchmark::kMillisecond);

void BM_NrmSave(benchmark::State& state) {
    std::string out;
    uint16_t ref = 0;
    for (auto _ : state) {
        workspace::WriteNormalised(wave(), 0, kPoints - 1, out, ref);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = double(out.size());
}
BENCHMARK(BM_NrmSave)->Unit(benchmark::kMillisecond);

void BM_NrmLoad(benchmark::State& state) {
    std::string text;
    uint16_t ref = 0;
    workspace::WriteNormalised(wave(), 0, kPoints - 1, text, ref);
    SampleStream back;
    for (auto _ : state) {
        workspace::ReadNormalised(text, back);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_NrmLoad)->Unit(benchmark::kMillisecond);

void BM_AscSave(benchmark::State& state) {
    std::string out;
    uint16_t ref = 0;
    for (auto _ : state) {
        workspace::WriteWaveCadAsc(wave(), 0, kPoints - 1, false, out, ref);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = double(out.size());
}
BENCHMARK(BM_AscSave)->Unit(benchmark::kMillisecond);

void BM_AscLoad(benchmark::State& state) {
    std::string text;
    uint16_t ref = 0;
    workspace::WriteWaveCadAsc(wave(), 0, kPoints - 1, false, text, ref);
    SampleStream back;
    for (auto _ : state) {
        workspace::ReadWaveCadAsc(text, back);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_AscLoad)->Unit(benchmark::kMillisecond);

void BM_ResampleMillionTo1000(benchmark::State& state) {
    std::vector<uint16_t> out;
    for (auto _ : state) {
        out.clear();
        workspace::ResampleSelection(wave().codes(), 0, kPoints, 1000, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ResampleMillionTo1000)->Unit(benchmark::kMillisecond);

void BM_Resample1000ToMillion(benchmark::State& state) {
    std::vector<uint16_t> out;
    for (auto _ : state) {
        out.clear();
        workspace::ResampleSelection(wave().codes(), 0, 1000, kPoints, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_Resample1000ToMillion)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
