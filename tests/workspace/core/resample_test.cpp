#include "workspace/core/resample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using plotwell::workspace::ResampleSelection;

namespace {

// A second resampler written straight from the algorithm's description: the waveform as a
// byte stream with a position, words read two bytes at a time (a read past the end reads
// nothing and leaves the word as it was).
struct Stream {
    const std::vector<uint16_t>& w;
    int64_t pos = 0;
    void read(uint16_t& out) {
        if (pos < int64_t(w.size()))
            out = w[std::size_t(pos)];
        ++pos;
    }
};

std::vector<uint16_t> reference(const std::vector<uint16_t>& wave, int64_t start, int64_t count,
                                int64_t newCount) {
    std::vector<uint16_t> out;
    const int64_t n = int64_t(wave.size());
    const double ratio = double(newCount) / double(count);
    Stream s{wave, start};
    if (ratio <= 1.0) {
        double acc = 0;
        int64_t i = 0;
        uint16_t w = 0;
        for (;;) {
            s.read(w);
            out.push_back(w);
            if (int64_t(out.size()) == newCount)
                break;
            acc = acc + ratio;
            i = i + 1;
            while (double(i) > acc) {
                uint16_t skipped = 0;
                s.read(skipped);
                acc = acc + ratio;
            }
        }
        return out;
    }
    uint16_t w = 0;
    s.read(w);
    uint16_t first = w, prev = w, next = 0;
    int64_t idx = start, i = 0;
    double acc = ratio;
    for (;;) {
        out.push_back(w);
        if (idx >= n - 1) {
            next = first;
        } else {
            s.read(w);
            next = w;
        }
        if (int64_t(out.size()) == newCount)
            break;
        i = i + 1;
        idx = idx + 1;
        double step = 0;
        if (double(i) < acc)
            step = double(int(next) - int(prev)) / std::ceil(acc - double(i));
        double v = prev;
        bool done = false;
        while (double(i) < acc) {
            v = v + step;
            w = uint16_t(std::trunc(v));
            out.push_back(w);
            if (int64_t(out.size()) == newCount) {
                done = true;
                break;
            }
            i = i + 1;
        }
        if (done)
            break;
        acc = acc + ratio;
        prev = next;
    }
    return out;
}

std::vector<uint16_t> resample(const std::vector<uint16_t>& wave, int64_t start, int64_t count,
                               int64_t newCount) {
    std::vector<uint16_t> out;
    EXPECT_TRUE(ResampleSelection(wave, start, count, newCount, out));
    return out;
}

} // namespace

TEST(Resample, FourPointsToTwoKeepsPointsZeroAndTwo) {
    EXPECT_EQ(resample({1, 2, 3, 4}, 0, 4, 2), (std::vector<uint16_t>{1, 3}));
}

TEST(Resample, StretchAtTheWaveformsEndTurnsBackToTheSelectionStart) {
    EXPECT_EQ(resample({10, 20}, 0, 2, 4), (std::vector<uint16_t>{10, 20, 20, 10}));
    // Not at the end: the sample after the selection is the next point.
    EXPECT_EQ(resample({5, 10, 20, 40}, 1, 2, 4), (std::vector<uint16_t>{10, 20, 20, 40}));
}

TEST(Resample, SameCountCopiesUnchanged) {
    const std::vector<uint16_t> w{7, 0, 65535, 3, 9};
    EXPECT_EQ(resample(w, 0, 5, 5), w);
    EXPECT_EQ(resample(w, 1, 3, 3), (std::vector<uint16_t>{0, 65535, 3}));
}

TEST(Resample, AppendsToWhatTheCallerHolds) {
    std::vector<uint16_t> out{99};
    ASSERT_TRUE(ResampleSelection(std::vector<uint16_t>{1, 2}, 0, 2, 2, out));
    EXPECT_EQ(out, (std::vector<uint16_t>{99, 1, 2}));
}

TEST(Resample, RefusesBadRunsWithoutTouchingTheOutput) {
    const std::vector<uint16_t> w{1, 2, 3};
    std::vector<uint16_t> out;
    EXPECT_FALSE(ResampleSelection(w, 0, 0, 5, out)); // count below 1: no division
    EXPECT_FALSE(ResampleSelection(w, 0, -3, 5, out));
    EXPECT_FALSE(ResampleSelection(w, 0, 3, 0, out));
    EXPECT_FALSE(ResampleSelection(w, 0, 3, -1, out));
    EXPECT_FALSE(ResampleSelection(w, 2, 2, 5, out)); // runs past the end
    EXPECT_FALSE(ResampleSelection(w, -1, 2, 5, out));
    EXPECT_FALSE(ResampleSelection({}, 0, 1, 5, out));
    EXPECT_FALSE(ResampleSelection(w, 0, 3, plotwell::workspace::kMaxResampleCount + 1, out));
    EXPECT_TRUE(out.empty());
}

TEST(Resample, SinglePointStretchesToAConstantOrATurn) {
    EXPECT_EQ(resample({42}, 0, 1, 4), (std::vector<uint16_t>{42, 42, 42, 42}));
    EXPECT_EQ(resample({10, 20, 40}, 0, 1, 3), (std::vector<uint16_t>{10, 15, 20}));
    EXPECT_EQ(resample({0, 65535}, 1, 1, 3), (std::vector<uint16_t>{65535, 65535, 65535}));
}

TEST(Resample, RandomLengthsMatchTheStraightforwardImplementation) {
    std::mt19937 rng(1234);
    for (int trial = 0; trial < 400; ++trial) {
        const int n = std::uniform_int_distribution<int>(1, 300)(rng);
        std::vector<uint16_t> wave(static_cast<std::size_t>(n));
        for (auto& c : wave)
            c = uint16_t(rng());
        const int start = std::uniform_int_distribution<int>(0, n - 1)(rng);
        const int count = std::uniform_int_distribution<int>(1, n - start)(rng);
        const int newCount = std::uniform_int_distribution<int>(1, 1200)(rng);
        const auto got = resample(wave, start, count, newCount);
        ASSERT_EQ(got.size(), std::size_t(newCount));
        ASSERT_EQ(got, reference(wave, start, count, newCount))
            << "n " << n << " start " << start << " count " << count << " newCount " << newCount;
    }
}

TEST(Resample, LargeRatiosStayInsideTheWaveform) {
    std::vector<uint16_t> wave(1000);
    for (std::size_t i = 0; i < wave.size(); ++i)
        wave[i] = uint16_t(i * 60);
    for (int64_t newCount : {1, 3, 999, 1001, 1024, 65536}) {
        const auto got = resample(wave, 0, 1000, newCount);
        EXPECT_EQ(got, reference(wave, 0, 1000, newCount)) << newCount;
    }
    const auto down = resample(wave, 0, 1000, 7);
    EXPECT_EQ(down.front(), 0);
}
