// The clipboard with a million points: the copy text alone and the whole Copy (text, SVG
// picture, window image, clipboard), the number scan of a paste alone and the whole Paste
// into an empty window (clipboard read included), and the scan of the longest text a paste
// takes.

#include "workspace/core/clipboard_numbers.h"
#include "workspace/core/sample_stream.h"

#include "app_bench_main.h"
#include "bench_window.h"

#include <QApplication>
#include <QClipboard>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>

using namespace plotwell;

namespace {
constexpr int kPoints = 1048576;

std::unique_ptr<workspace::SampleStream> sine() {
    auto s = std::make_unique<workspace::SampleStream>(1, kPoints);
    for (int i = 0; i < kPoints; ++i)
        s->setCode(std::size_t(i),
                   uint16_t(32768 + 30000 * std::sin(i * 6.283185307 / 65536) + (i % 97) * 20));
    return s;
}

std::string copyText() {
    std::string text;
    workspace::appendCopyText(sine()->codes(), 1, text);
    return text;
}

void BM_CopyText1M(benchmark::State& state) {
    const auto s = sine();
    for (auto _ : state) {
        std::string text;
        workspace::appendCopyText(s->codes(), 1, text);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_CopyText1M)->Unit(benchmark::kMillisecond);

void BM_PasteScan1M(benchmark::State& state) {
    const std::string text = copyText();
    for (auto _ : state)
        benchmark::DoNotOptimize(workspace::clipboardWaveform(text));
}
BENCHMARK(BM_PasteScan1M)->Unit(benchmark::kMillisecond);

// The longest text a paste takes: the most numbers a waveform holds, each a token as long as
// the scanner converts, on lines ended by CR LF.
void BM_PasteScanLongestText(benchmark::State& state) {
    std::string text;
    text.reserve(workspace::kMaxClipboardText);
    for (int i = 0; i < kPoints; ++i) {
        std::string token = (i % 2 ? "-0." : "+0.") + std::to_string(i);
        token.resize(workspace::kMaxNumberToken, char('1' + i % 9));
        text += token + "\r\n";
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(workspace::clipboardWaveform(text));
    state.counters["MB"] = double(text.size()) / 1e6;
}
BENCHMARK(BM_PasteScanLongestText)->Unit(benchmark::kMillisecond);

void BM_Copy1M(benchmark::State& state) {
    BenchWindow win;
    win.w->Doc.SampleStream = sine();
    win.w->Doc.FileType = workspace::WaveFileType::Internal;
    win.w->Doc.WaveName = "/tmp/sine.wfm";
    win.w->Doc.SelectionStart = 0;
    win.w->Doc.SelectionEnd = kPoints - 1;
    win.w->FormPaint();
    for (auto _ : state)
        win.w->Copy1Click();
}
BENCHMARK(BM_Copy1M)->Unit(benchmark::kMillisecond);

void BM_PasteFromClipboard1M(benchmark::State& state) {
    BenchWindow win;
    QApplication::clipboard()->setText(QString::fromLatin1(copyText()));
    for (auto _ : state) {
        win.w->Doc.FileType = workspace::WaveFileType::None;
        win.w->PasteFromClipboard();
    }
    state.counters["points"] = win.w->Doc.PointCount();
}
BENCHMARK(BM_PasteFromClipboard1M)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    return runApplicationBenchmarks(argc, argv);
}
