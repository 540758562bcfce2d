// Start-up: the application object, the 35 forms and the frame's first activation with an
// empty configuration folder.

#include "app/Plotdesk.h"
#include "app/appforms.h"
#include "app/core/settings_files.h"
#include "platform/scripted_ui.h"

#include "app_bench_main.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace {
double applicationMs = 0;

// Times the forms' creation and the frame's first activation; the shut-down is not timed.
void startAndStopEachIteration(benchmark::State& state) {
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
}

void BM_FormsAndFirstActivation(benchmark::State& state) {
    plotwell::platform::ScriptedUi ui;
    startAndStopEachIteration(state);
    state.counters["application_ms"] = applicationMs;
}
BENCHMARK(BM_FormsAndFirstActivation)->Unit(benchmark::kMillisecond);

// A damaged project that lists 3000 windows: the start reopens the first 256 only.
void BM_StartWithAProjectListing3000Windows(benchmark::State& state) {
    plotwell::platform::ScriptedUi ui;
    using namespace plotwell::workspace;
    using namespace plotwell::app;
    const std::string folder = std::string(std::getenv("HOME")) + "/Documents/Plotwell";
    std::filesystem::create_directories(folder);
    ProjectValues values;
    plotwell::transfer::applyTransferDefaults(values.TransferSettings);
    const std::vector<OpenFileEntry> listed(3000, OpenFileEntry{"Untitled", 0, true, 0, 0, 0});
    std::ofstream(folder + "/Default.prj");
    std::ofstream(folder + "/Default.INI", std::ios::binary) << formatProjectSettings(listed, values);
    startAndStopEachIteration(state);
    std::filesystem::remove(folder + "/Default.INI");
}
BENCHMARK(BM_StartWithAProjectListing3000Windows)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char** argv) {
    return runApplicationBenchmarks(argc, argv, [](double ms) { applicationMs = ms; });
}
