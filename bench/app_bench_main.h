#pragma once
// Entry of the benchmarks that need the application: offscreen, with a fresh HOME and
// configuration folder, and the numeric locale the program uses. `ready` runs once the
// application exists, with the milliseconds its construction took.

#include "platform/posix/numeric_locale.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

inline int runApplicationBenchmarks(int argc, char** argv, void (*ready)(double applicationMs) = nullptr) {
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
    if (ready)
        ready(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(home);
    return 0;
}
