#pragma once
// The waveform most benchmarks work on: 1,048,576 points of a 16-bit sine with some noise in
// its low bits, so text forms have every digit count.

#include "workspace/core/sample_stream.h"

#include <cmath>
#include <cstdint>

inline constexpr int kBenchPoints = 1048576;

inline const plotwell::workspace::SampleStream& benchWave() {
    static const plotwell::workspace::SampleStream s = [] {
        plotwell::workspace::SampleStream w(32768, kBenchPoints);
        for (int i = 0; i < kBenchPoints; ++i)
            w.setCode(std::size_t(i),
                      uint16_t(32768 + 32000 * std::sin(i * 0.00037) + (uint32_t(i) * 2654435761u >> 29)));
        return w;
    }();
    return s;
}
