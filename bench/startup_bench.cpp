// Start-up: the application object, the 35 forms and the frame's first activation with an
// empty configuration folder.

#include "platform/scripted_ui.h"
#include "app/Plotdesk.h"
#include "app/appforms.h"

#include "app_bench_main.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>

namespace {
double applicationMs = 0;

void BM_FormsAndFirstActivation(benchmark::State& state) {
    plotwell::platform::ScriptedUi ui;
    for (auto _ : state) {
        plotwell::CreateApplicationForms();
        PWForm1->show();
        PWForm1->FormActivate();
        QApplication::processEvents();
        state.PauseTiming();
        plotwell::DestroyApplicationForms();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["application_ms"] = applicationMs;
}
BENCHMARK(BM_FormsAndFirstActivation)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    return runApplicationBenchmarks(argc, argv, [](double ms) { applicationMs = ms; });
}
