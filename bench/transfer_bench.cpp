// A 1,048,576-point ARBDEF download over the stub GPIB and USB links. Each link is
// measured twice: the whole transfer driven by its worker's ticks, and the same bytes
// written straight through the link in the same pieces. The difference is what the
// transfer itself costs (coding, resampling, slicing); the rest is the link and the
// simulated instrument behind it.

#include "transfer/core/arbdef.h"
#include "transfer/core/library_links.h"

#include "bench_wave.h"
#include "sim/adapters.h"

#include "bench_status.h"

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace plotwell;
using namespace plotwell::transfer;

namespace {

using NoStatus = BenchNoStatus;

struct Bench {
    explicit Bench(LinkKind kind) : inst(sim::Family::ArbDef, "QUORVEX,QVA3420B") {
        LinkDeadlines d;
        d.gpibQueryPause = std::chrono::milliseconds(0);
        if (kind == LinkKind::Gpib) {
            gpib = std::make_unique<sim::GpibAdapter>(inst);
            libs.loadGpib(sim::gpibStubPath());
            link = GpibLink::open(libs.gpib(), 0, 5, kGpibT100s, d);
        } else {
            usb = std::make_unique<sim::UsbAdapter>(inst);
            libs.loadUsb(sim::usbStubPath());
            int error = 0;
            link = UsbLink::open(libs, 5, error, d);
        }
    }
    sim::Instrument inst;
    InstrumentLibraries libs;
    std::unique_ptr<sim::GpibAdapter> gpib;
    std::unique_ptr<sim::UsbAdapter> usb;
    std::unique_ptr<Link> link;
};

TransferJob job(LinkKind kind) {
    TransferJob j;
    j.makeIndex = makeQuorvex;
    j.modelIndex = 3;
    j.model = "QVA3420x";
    j.typeIndex = kind == LinkKind::Gpib ? ifGpib0 : ifUsb;
    j.target = "BENCH";
    return j;
}

DownloadSource source() {
    DownloadSource s;
    s.samples = benchWave();
    s.selectionEnd = s.samples.count() - 1;
    s.fileName = "bench.wfm";
    return s;
}

void BM_Download(benchmark::State& state, LinkKind kind) {
    NoStatus status;
    for (auto _ : state) {
        state.PauseTiming();
        Bench b(kind);
        DownloadSource s = source();
        state.ResumeTiming();
        auto w = makeArbDefDownload(job(kind), *b.link, status, std::move(s));
        TickOutcome o;
        do
            o = w->tick();
        while (o.kind == TickOutcome::Kind::Running);
        if (o.kind != TickOutcome::Kind::Finished)
            state.SkipWithError("download failed");
        state.PauseTiming();
        b.link.reset();
        state.ResumeTiming();
    }
}

// The same conversation with the codes ready: only the link and the instrument work.
void BM_LinkAlone(benchmark::State& state, LinkKind kind) {
    const std::size_t points = std::size_t(benchWave().count());
    const std::size_t slice = kind == LinkKind::Gpib ? 1000 : 524288;
    const std::string data(2 * points, '\x07');
    for (auto _ : state) {
        state.PauseTiming();
        Bench b(kind);
        state.ResumeTiming();
        std::string reply;
        b.link->write(kind == LinkKind::Usb ? "\n*idn?\n" : "*idn?\n");
        b.link->readReply(reply, 100);
        b.link->write("CF?\n");
        b.link->readReply(reply, 20);
        b.link->write("ARBDEF BENCH,1048576,#72097152");
        for (std::size_t at = 0; at < data.size(); at += 2 * slice)
            b.link->write(data.data() + at, std::min(2 * slice, data.size() - at));
        b.link->write("\nlocal\n");
        state.PauseTiming();
        b.link.reset();
        state.ResumeTiming();
    }
}

BENCHMARK_CAPTURE(BM_Download, Gpib, LinkKind::Gpib)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_LinkAlone, Gpib, LinkKind::Gpib)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Download, Usb, LinkKind::Usb)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_LinkAlone, Usb, LinkKind::Usb)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace

BENCHMARK_MAIN();
