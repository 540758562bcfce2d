// The project's expression library loaded as the start does it: the frame reads the file of
// the project and fills the manager's list. A library of 40,000 entries (as the manager
// writes it, and the same entries out of order), and the largest file read: 8 MiB of
// lines holding only '='.

#include "app/Plotdesk.h"
#include "app/appforms.h"
#include "platform/posix/atomic_file.h"
#include "platform/scripted_ui.h"
#include "synthesis/core/expression_library.h"
#include "synthesis/forms/explibrary.h"

#include "app_bench_main.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Loads `bytes` as the library of a project, once per iteration.
void loadEachIteration(benchmark::State& state, const std::string& bytes) {
    plotwell::platform::ScriptedUi ui;
    plotwell::CreateApplicationForms();
    PWForm1->HomeDir = std::getenv("HOME");
    PWForm1->PrjFile = "Bench";
    if (!plotwell::platform::writeFileAtomically(PWForm1->HomeDir + "/Bench.LIB", bytes))
        state.SkipWithError("cannot write the library");
    for (auto _ : state)
        PWForm1->LoadExpressionLibrary();
    state.counters["entries"] = double(LibraryForm->Lines().size());
    state.counters["file_bytes"] = double(bytes.size());
    plotwell::DestroyApplicationForms();
}

void BM_LoadLibraryOfEntries(benchmark::State& state) {
    std::vector<std::string> lines;
    for (int i = 0; i < state.range(0); ++i) {
        char line[40];
        std::snprintf(line, sizeof line, "e%06d\t= t*%d", i, i);
        lines.emplace_back(line);
    }
    if (state.range(1) != 0)
        std::reverse(lines.begin(), lines.end());
    loadEachIteration(state, plotwell::synthesis::WriteLibrary(lines));
}
BENCHMARK(BM_LoadLibraryOfEntries)
    ->ArgNames({"entries", "reversed"})
    ->Args({40000, 0})
    ->Args({40000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_LoadLibraryOf8MiBOfEquals(benchmark::State& state) {
    std::string bytes;
    while (bytes.size() + 2 <= std::size_t(plotwell::synthesis::kLibraryMaxFileBytes))
        bytes += "=\n";
    loadEachIteration(state, bytes);
}
BENCHMARK(BM_LoadLibraryOf8MiBOfEquals)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runApplicationBenchmarks(argc, argv);
}
