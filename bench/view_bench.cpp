// The waveform view: a full paint of a million-point waveform into a 1600 x 500 window, one
// step of a cursor drag (the shading toggled by one column and the status published), a band
// zoom and the overview window's repaint.

#include "app/Plotdesk.h"
#include "app/appforms.h"
#include "platform/canvas_image.h"
#include "platform/scripted_ui.h"
#include "workspace/core/sample_stream.h"
#include "workspace/core/trace.h"
#include "workspace/forms/WorldView.h"
#include "workspace/forms/wfmchild.h"

#include "app_bench_main.h"
#include "bench_window.h"

#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using plotwell::workspace::WaveFileType;
using namespace plotwell;

namespace {
constexpr int kPoints = 1048576;

std::unique_ptr<workspace::SampleStream> sine() {
    auto s = std::make_unique<workspace::SampleStream>(32768, kPoints);
    for (int i = 0; i < kPoints; ++i)
        s->setCode(std::size_t(i),
                   uint16_t(32768 + 30000 * std::sin(i * 6.283185307 / 65536) + (i % 97) * 20));
    return s;
}

// The graph alone: grid, labels, min/max trace and preview lines into a 1600 x 500 image.
void BM_GraphPaint1M(benchmark::State& state) {
    const auto s = sine();
    QImage img(1600, 500, QImage::Format_RGB32);
    const workspace::PlotLayout layout = workspace::plotLayout(1600, 500);
    workspace::GraphInput in;
    in.codes = s->codes();
    in.reference = s->reference();
    in.markerAmplitude = 20000;
    for (auto _ : state) {
        platform::ImageCanvas c(img);
        c.FillRect(0, 0, 1600, 500, 0);
        benchmark::DoNotOptimize(workspace::drawGraph(c, layout, in, nullptr));
    }
}
BENCHMARK(BM_GraphPaint1M)->Unit(benchmark::kMillisecond);

// The window's paint: everything above, the selection shading and the cursor images.
struct Window : BenchWindow {
    Window() {
        w->Doc.SampleStream = sine();
        w->Doc.FileType = WaveFileType::Internal;
        w->Doc.WaveName = "/tmp/sine.wfm";
        w->Doc.SelectionStart = 100000;
        w->Doc.SelectionEnd = 900000;
        QApplication::processEvents();
    }
};

void BM_WindowPaint1M(benchmark::State& state) {
    Window win;
    for (auto _ : state)
        win.w->FormPaint();
    state.counters["plot_width"] = win.w->PlotWidth;
}
BENCHMARK(BM_WindowPaint1M)->Unit(benchmark::kMillisecond);

// One cursor-drag step on the million-point window: the start cursor moves back and forth by
// the argument's number of columns (1: one shading column and the status; 200: a long jump).
void BM_CursorDragStep1M(benchmark::State& state) {
    Window win;
    TWFMform* w = win.w;
    w->FormPaint();
    w->dimStartCursorImageMouseDown(Qt::LeftButton, 6);
    const int far = 6 + int(state.range(0));
    int x = 6;
    for (auto _ : state) {
        x = x == 6 ? far : 6;
        w->dimStartCursorImageMouseMove(x);
    }
    w->dimStartCursorImageMouseUp();
}
BENCHMARK(BM_CursorDragStep1M)->Arg(1)->Arg(200)->Unit(benchmark::kMicrosecond);
// A band zoom on the million-point window: the band dragged and released, the window's
// paint of the new view and the overview's repaint that the zoom brings.
void BM_BandZoom1M(benchmark::State& state) {
    Window win;
    TWFMform* w = win.w;
    w->FormPaint();
    w->SetView({0, kPoints - 1, -32768, 32767});
    w->ShowOverview();
    const workspace::View start{0, kPoints - 1, -32768, 32767};
    for (auto _ : state) {
        w->SetView(start);
        w->FormMouseDown(Qt::LeftButton, {}, 300, 100);
        w->FormMouseMove({}, 700, 300);
        w->FormMouseUp(Qt::LeftButton, 700, 300);
        w->FormPaint();
    }
    state.counters["view_points"] = w->ViewLast - w->ViewFirst + 1;
}
BENCHMARK(BM_BandZoom1M)->Unit(benchmark::kMillisecond);

// The overview window's repaint: the whole million points in its 220 columns and the box.
void BM_OverviewRepaint1M(benchmark::State& state) {
    Window win;
    TWFMform* w = win.w;
    w->FormPaint();
    w->SetView({200000, 400000, -10000, 10000});
    w->ShowOverview();
    for (auto _ : state)
        World->FormPaint();
}
BENCHMARK(BM_OverviewRepaint1M)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    return runApplicationBenchmarks(argc, argv);
}
