// A 1,048,576-point LAN download to the loopback simulator, in real time: a bit pattern to
// the pattern generator (the one store that takes a waveform of this size whole). The
// transfer is paced by its fixed pauses; the counter "pauses_ms" is their total, so the
// time over it is what the transfer itself costs.

#include "transfer/core/maker.h"
#include "transfer/core/tcp_link.h"

#include "sim/adapters.h"

#include "bench_status.h"

#include <benchmark/benchmark.h>

using namespace plotwell;
using namespace plotwell::transfer;

namespace {

using NoStatus = BenchNoStatus;

constexpr std::size_t kPoints = 1048576;

void BM_PatternDownloadOverLan(benchmark::State& state) {
    const std::size_t chunks = (kPoints + 63999) / 64000;
    const double pausesMs = double(chunks) * (3000 + 500) + 100 + 100 + 100;
    for (auto _ : state) {
        sim::Instrument inst(sim::Family::Pattern, "QUORVEX, QVS5100,0,1");
        sim::TcpAdapter server(inst);
        auto link = TcpLink::connect("127.0.0.1", server.portText(), LinkDeadlines{});
        TransferJob job;
        job.makeIndex = makeQuorvex;
        job.modelIndex = 11;
        job.model = "QVS51xx";
        job.typeIndex = ifLan;
        job.target = "pattern1";
        DownloadSource src;
        src.samples.assign(32768, std::vector<uint16_t>(kPoints, 0xFFFF));
        src.selectionEnd = int32_t(kPoints) - 1;
        src.fileName = "bench.pat";
        src.bitPattern = true;
        NoStatus status;
        auto w = makeMakerDownload(job, *link, status, std::move(src));
        if (w->tick().kind != TickOutcome::Kind::Finished)
            state.SkipWithError("the download failed");
    }
    state.counters["pauses_ms"] = pausesMs;
}
BENCHMARK(BM_PatternDownloadOverLan)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
