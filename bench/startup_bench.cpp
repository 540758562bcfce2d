// Start-up: the application object, the 35 forms and the frame's first activation with an
// empty configuration folder.

#include "platform/posix/numeric_locale.h"
#include "platform/scripted_ui.h"
#include "workspace/forms/Plotdesk.h"
#include "workspace/forms/appforms.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

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
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string home = (std::filesystem::temp_directory_path() / "plotwell-bench-XXXXXX").string();
    if (mkdtemp(home.data())) {
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    }
    const auto t0 = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    plotwell::platform::useCNumericLocale();
    applicationMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(home);
    return 0;
}
