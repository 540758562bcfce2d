#pragma once
// Driving a worker against a simulated instrument: a status window that records what it
// showed, the tick loop, and what the instrument on a pseudo-terminal has read.

#include "sim_rig.h"
#include "transfer/core/transfer_worker.h"

#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace plotwell::transfer::simrig {

class FakeStatus : public TransferStatus {
public:
    void showStatus(const std::string& text, bool withCancel) override {
        shown.push_back({text, withCancel});
    }
    bool cancelled() const override { return cancel; }
    std::vector<std::pair<std::string, bool>> shown;
    bool cancel = false;
};

// A window's selection of all its codes.
inline DownloadSource window(uint16_t reference, std::vector<uint16_t> codes,
                             std::string fileName = "wave1.wfm") {
    DownloadSource s;
    s.samples.assign(reference, codes);
    s.selectionStart = 0;
    s.selectionEnd = int32_t(codes.size()) - 1;
    s.fileName = std::move(fileName);
    return s;
}

// Ticks until the worker is done; the count of ticks it took.
inline int run(TransferWorker& w, TickOutcome& last, int maxTicks = 1 << 20) {
    for (int t = 1; t <= maxTicks; ++t) {
        last = w.tick();
        if (last.kind != TickOutcome::Kind::Running)
            return t;
    }
    return -1;
}

// Everything the instrument on the pseudo-terminal has read, once it has read `end`.
inline std::string serialBytes(Rig& rig, const std::string& end) {
    std::string sent;
    for (int i = 0; i < 500; ++i) {
        sent.clear();
        for (const auto& s : rig.inst.writes())
            sent += s;
        if (sent.ends_with(end))
            break;
        std::this_thread::sleep_for(10ms);
    }
    return sent;
}

// Big-endian wire bytes of 16-bit codes.
inline std::string bigEndian(const std::vector<uint16_t>& codes) {
    std::string b;
    for (uint16_t c : codes) {
        b.push_back(char(c >> 8));
        b.push_back(char(c & 0xFF));
    }
    return b;
}

inline std::vector<uint16_t> ramp(std::size_t n, uint16_t step = 1) {
    std::vector<uint16_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = uint16_t(i * step);
    return v;
}

} // namespace plotwell::transfer::simrig
