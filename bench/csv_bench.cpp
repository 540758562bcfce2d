// A 1,048,576-row, two-column CSV file imported as the import dialog does it (read, find
// the data, both passes, the thumbnail) next to pandas.read_csv of the same column, timed
// in the same run by a Python child process. The pandas case is skipped when python3 or
// pandas is missing; it is only a yardstick, never a dependency of the program.

#include "platform/posix/atomic_file.h"
#include "workspace/core/csv_import.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace plotwell;

namespace {

constexpr int kRows = 1048576;

const std::string& csvPath() {
    static const std::string path = [] {
        const std::string p =
            (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "-bench.csv")).string();
        std::string text = "time,volts\n";
        text.reserve(std::size_t(kRows) * 24);
        char line[64];
        for (int i = 0; i < kRows; ++i) {
            const int n =
                std::snprintf(line, sizeof line, "%.6e,%+.5f\n", i * 1e-6, 1.5 * std::sin(i * 0.00037));
            text.append(line, std::size_t(n));
        }
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }();
    return path;
}

void BM_CsvImportColumn(benchmark::State& state) {
    const std::string& path = csvPath();
    for (auto _ : state) {
        const auto text = platform::readFileBytes(path, workspace::kCsvMaxFileBytes);
        const workspace::CsvLayout layout = workspace::CsvFindLayout(*text);
        const workspace::CsvColumn col =
            workspace::CsvConvertColumn(std::string_view(*text).substr(layout.dataStart), 1);
        auto thumb = workspace::CsvThumbnail(col.preview.codes(), 302, 124);
        benchmark::DoNotOptimize(thumb.data());
        if (col.pointCount != kRows)
            state.SkipWithError("wrong point count");
    }
}
BENCHMARK(BM_CsvImportColumn)->Unit(benchmark::kMillisecond)->UseRealTime();

// pandas reads the same file and takes the same column; the child times itself.
void BM_PandasReadCsv(benchmark::State& state) {
    // apt installs pandas for the system's Python; PLOTWELL_PYTHON names another one.
    const char* python = std::getenv("PLOTWELL_PYTHON");
    const std::string cmd =
        std::string(python ? python : "/usr/bin/python3") +
        " -c \"import time,sys,pandas as pd\nt=time.perf_counter()\n"
        "c=pd.read_csv(sys.argv[1])['volts'].to_numpy()\nprint(time.perf_counter()-t, len(c))\" " +
        csvPath() + " 2>/dev/null";
    for (auto _ : state) {
        FILE* p = ::popen(cmd.c_str(), "r");
        double seconds = -1;
        long rows = 0;
        if (!p || std::fscanf(p, "%lf %ld", &seconds, &rows) != 2 || rows != kRows) {
            if (p)
                ::pclose(p);
            state.SkipWithError("python3 with pandas is not installed");
            return;
        }
        ::pclose(p);
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_PandasReadCsv)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
