#include "synthesis/core/sample_maths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <vector>

using namespace plotwell::synthesis;
using plotwell::workspace::SampleStream;
using Codes = std::vector<uint16_t>;

namespace {

PointRange all(const Codes& c) {
    return {0, int64_t(c.size()) - 1};
}

// The stretch resampler as written: keep-and-skip with a summed position when shrinking;
// when growing, steps and running values in single precision, turning back to the first
// point after the last.
Codes stretched(const Codes& x, int64_t n) {
    const int64_t m = int64_t(x.size());
    const double r = double(n) / double(m);
    Codes out;
    int64_t k = 0, i = 0;
    if (r <= 1.0) {
        double acc = 0.0;
        for (;;) {
            out.push_back(x[size_t(i++)]);
            if (int64_t(out.size()) == n)
                return out;
            acc += r;
            ++k;
            while (double(k) > acc) {
                ++i;
                acc += r;
            }
        }
    }
    double acc = r;
    uint16_t a = x[0], w = x[0], b = 0;
    float step = 0;
    for (;;) {
        out.push_back(w);
        if (i == m - 1)
            b = x[0];
        else
            b = w = x[size_t(i + 1)];
        if (int64_t(out.size()) == n)
            return out;
        ++k;
        ++i;
        if (double(k) < acc)
            step = float(int32_t(b) - int32_t(a)) / float(std::ceil(acc - double(k)));
        float y = float(a);
        while (double(k) < acc) {
            y = y + step;
            w = uint16_t(int32_t(y));
            out.push_back(w);
            if (int64_t(out.size()) == n)
                return out;
            ++k;
        }
        acc += r;
        a = b;
    }
}

Codes resized(const Codes& x, int64_t n) {
    SampleStream snapshot(32768, x.size());
    for (size_t i = 0; i < x.size(); ++i)
        snapshot.setCode(i, x[i]);
    SampleStream out;
    EXPECT_TRUE(ResizeSamples(snapshot, n, out));
    return {out.codes().begin(), out.codes().end()};
}

} // namespace

// A start on the last point is kept; one past it goes back to 0.
TEST(SampleMaths, RangeFollowsTheFieldExitRules) {
    struct Case {
        int64_t start, end, points;
        PointRange want;
    } cases[] = {
        {2, 5, 10, {2, 5}},  {12, 15, 10, {0, 9}}, {4, 2, 10, {4, 4}}, {0, 99, 10, {0, 9}},
        {-3, 4, 10, {0, 4}}, {0, 0, 0, {0, -1}},   {9, 9, 10, {9, 9}}, {10, 10, 10, {0, 9}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampRange(c.start, c.end, c.points), c.want) << c.start << ".." << c.end;
}

TEST(SampleMaths, ScalarAddAndMultiply) {
    struct Case {
        ScalarOp op;
        double scalar;
        int32_t r;
        Codes in, want;
        bool clipped;
    } cases[] = {
        {ScalarOp::Add, 1.75, 32768, {0, 100, 65535}, {1, 101, 65535}, true},
        {ScalarOp::Add, -0.5, 32768, {0, 100, 65535}, {0, 100, 65535}, false},
        {ScalarOp::Add, 10000, 32768, {30000, 60000}, {40000, 65535}, true},
        {ScalarOp::Add, 1e300, 32768, {0}, {65535}, true},
        {ScalarOp::Multiply, 1, 32768, {0, 1, 32768, 65535}, {0, 1, 32768, 65535}, false},
        {ScalarOp::Multiply, 0, 32768, {0, 1, 65535}, {32768, 32768, 32768}, false},
        {ScalarOp::Multiply, -1, 32768, {0, 1, 32768, 65535}, {65535, 65535, 32768, 1}, true},
        {ScalarOp::Multiply,
         0.5,
         32768,
         {0, 1, 32767, 32769, 65535},
         {16384, 16384, 32767, 32768, 49151},
         false},
        {ScalarOp::Multiply, 2, 2048, {0, 1000, 2048, 3000, 4095}, {0, 0, 2048, 3952, 4095}, true},
        {ScalarOp::Multiply, 0.33, 2048, {0, 100, 4095}, {1372, 1405, 2723}, false},
        // A result just below 0 truncates to 0 and is no clip.
        {ScalarOp::Multiply, 1.00001, 32768, {0, 65535}, {0, 65535}, false},
        // A constant too long for a double reads as infinite: the mid code stays where it is.
        {ScalarOp::Multiply, HUGE_VAL, 32768, {0, 32768, 65535}, {0, 32768, 65535}, true},
        {ScalarOp::Multiply, -HUGE_VAL, 32768, {0, 32768, 65535}, {65535, 32768, 0}, true},
    };
    for (const auto& c : cases) {
        Codes out(c.in.size(), 7);
        EXPECT_EQ(ApplyScalar(c.in, out, all(c.in), c.r, c.op, c.scalar), c.clipped) << c.scalar;
        EXPECT_EQ(out, c.want) << c.scalar;
    }
    // Only the range is written, and a range past the end is brought within the points.
    Codes in{10, 20, 30, 40}, out{0, 0, 0, 0};
    ApplyScalar(in, out, {1, 2}, 32768, ScalarOp::Add, 1);
    EXPECT_EQ(out, (Codes{0, 21, 31, 0}));
    ApplyScalar(in, out, {2, 99}, 32768, ScalarOp::Add, 2);
    EXPECT_EQ(out, (Codes{0, 21, 32, 42}));
}

TEST(SampleMaths, TwoWaveformArithmeticWithAndWithoutTheFit) {
    struct Case {
        MathOp op;
        MathSource a, b;
        int32_t r;
        bool fit;
        Codes want;
        bool clipped;
    };
    const Codes a1{32768, 50000, 65535, 0, 16384}, b1{32768, 50000, 65535, 0, 49152};
    const Codes p1{32770, 32765, 32968}, p2{32773, 32775, 32968};
    const Codes r12{2048, 4095, 0}, flat{32768, 32768, 32768}, wide{32768, 40000, 30000};
    const Codes low{0, 32768}, high{65535, 32768};
    const Case cases[] = {
        {MathOp::Sum, {a1}, {b1}, 32768, false, {32768, 65535, 65535, 0, 32768}, true},
        {MathOp::Sum, {a1}, {b1}, 32768, true, {32768, 49999, 65534, 1, 32768}, false},
        {MathOp::Difference, {a1}, {a1}, 32768, false, {32768, 32768, 32768, 32768, 32768}, false},
        {MathOp::Product, {p1}, {p2}, 32768, false, {32778, 32747, 65535}, true},
        {MathOp::Product, {p1}, {p2}, 32768, true, {32776, 32751, 65535}, false},
        {MathOp::Sum, {r12, 2048}, {flat}, 32768, false, {32768, 34815, 30720}, false},
        {MathOp::Sum, {wide}, {flat}, 2048, false, {2048, 4095, 0}, true},
        {MathOp::Sum, {wide}, {flat}, 2048, true, {2048, 4095, 1265}, false},
        // No value above 0: the fit scales by the magnitude of the lowest.
        {MathOp::Difference, {low}, {high}, 32768, true, {1, 32768}, false},
    };
    for (const auto& c : cases) {
        Codes target(c.want.size(), 1);
        const CombineResult got = CombineWaveforms(c.a, c.b, target, all(target), c.r, c.op, c.fit);
        EXPECT_EQ(target, c.want);
        EXPECT_EQ(got.clipped, c.clipped);
    }
    // Only as many points as the shortest of the range and the two selections are written.
    Codes target(6, 5);
    const Codes three{32769, 32770, 32771}, four{32768, 32768, 32768, 32768};
    EXPECT_EQ(CombineWaveforms({three}, {four}, target, {1, 5}, 32768, MathOp::Sum, false).written, 3);
    EXPECT_EQ(target, (Codes{5, 32769, 32770, 32771, 5, 5}));
}

TEST(SampleMaths, ResizeKeepsTheReferenceAndRefusesBadLengths) {
    SampleStream snapshot(2048, 4);
    for (int i = 0; i < 4; ++i)
        snapshot.setCode(i, uint16_t(100 * (i + 1)));
    SampleStream out;
    ASSERT_TRUE(ResizeSamples(snapshot, 8, out));
    EXPECT_EQ(out.reference(), 2048);
    EXPECT_EQ(std::vector<uint16_t>(out.codes().begin(), out.codes().end()),
              (Codes{100, 200, 200, 300, 300, 400, 400, 100}));
    ASSERT_TRUE(ResizeSamples(snapshot, 2, out));
    EXPECT_EQ(std::vector<uint16_t>(out.codes().begin(), out.codes().end()), (Codes{100, 300}));
    for (int64_t bad : {int64_t(0), int64_t(-1), int64_t(1048577), int64_t(2097152)})
        EXPECT_FALSE(ResizeSamples(snapshot, bad, out)) << bad;
    for (int64_t good : {int64_t(1), int64_t(1048576)}) {
        ASSERT_TRUE(ResizeSamples(snapshot, good, out)) << good;
        EXPECT_EQ(out.count(), good);
    }
    EXPECT_FALSE(ResizeSamples(SampleStream(), 10, out));
}

TEST(SampleMaths, ResizeResamplesBothWays) {
    struct Case {
        Codes in;
        int64_t n;
        Codes want;
    } cases[] = {
        {{10, 20, 30, 40, 50, 60, 70, 80}, 4, {10, 30, 50, 70}},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {{0, 300, 600, 900}, 12, {0, 150, 300, 300, 450, 600, 600, 750, 900, 900, 450, 0}},
        {{0, 100}, 7, {0, 33, 66, 100, 100, 50, 0}},
        // Ten single-precision steps of 0.1 reach 1 (in double they stay just below it).
        {{0, 1}, 22, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resized(c.in, c.n), c.want) << c.in.size() << " to " << c.n;

    std::mt19937 rng(11);
    for (int trial = 0; trial < 300; ++trial) {
        Codes x(std::uniform_int_distribution<size_t>(1, 400)(rng));
        for (auto& v : x)
            v = uint16_t(rng());
        const int64_t n = std::uniform_int_distribution<int64_t>(1, 4000)(rng);
        ASSERT_EQ(resized(x, n), stretched(x, n)) << x.size() << " to " << n;
    }
}

TEST(SampleMaths, SmoothingWritesItsRangeAndLeavesTheEdges) {
    // The width: at most a tenth of the range, then odd.
    EXPECT_EQ(SmoothingWidth(7, {0, 99}), 7);
    EXPECT_EQ(SmoothingWidth(8, {0, 99}), 9);
    EXPECT_EQ(SmoothingWidth(7, {0, 19}), 1);
    EXPECT_EQ(SmoothingWidth(7, {0, 20}), 3);
    EXPECT_EQ(SmoothingWidth(0, {0, 99}), 1);

    // A spike smoothed twice with w = 3.
    Codes spike(40, 0);
    spike[20] = 9;
    SmoothRange(spike, all(spike), 3);
    EXPECT_EQ(Codes(spike.begin() + 18, spike.begin() + 23), (Codes{0, 3, 3, 3, 0}));
    SmoothRange(spike, all(spike), 3);
    EXPECT_EQ(Codes(spike.begin() + 18, spike.begin() + 23), (Codes{1, 2, 3, 2, 1}));

    // A step: the cap makes w = 3.
    Codes step(40, 70);
    std::fill(step.begin(), step.begin() + 10, 0);
    EXPECT_EQ(SmoothRange(step, all(step), 7), 3);
    EXPECT_EQ(Codes(step.begin() + 9, step.begin() + 12), (Codes{23, 47, 70}));

    // Random data against a plain average: points first+h .. last-h-2 written from the values
    // before the Apply, everything else kept.
    std::mt19937 rng(7);
    Codes data(5000);
    for (auto& v : data)
        v = uint16_t(rng());
    const PointRange range{100, 4899};
    Codes got = data;
    const int32_t w = SmoothRange(got, range, 25);
    ASSERT_EQ(w, 25);
    const int64_t h = w / 2;
    for (int64_t i = 0; i < int64_t(data.size()); ++i) {
        if (i < range.first + h || i > range.last - h - 2) {
            ASSERT_EQ(got[i], data[i]) << i;
            continue;
        }
        const int64_t sum = std::accumulate(data.begin() + i - h, data.begin() + i + h + 1, int64_t(0));
        ASSERT_EQ(got[i], uint16_t(float(sum) / float(w) + 0.5)) << i;
    }

    // The mean is a single-precision quotient: a window sum beyond 2^24 is rounded to a
    // float first, and 16818207 / 257 (65440.494) comes out as 65440.5, written as 65441.
    Codes wide(2571, 0);
    std::fill(wide.begin(), wide.begin() + 127, 65441);
    std::fill(wide.begin() + 127, wide.begin() + 257, 65440);
    EXPECT_EQ(SmoothRange(wide, all(wide), 257), 257);
    EXPECT_EQ(wide[128], 65441);

    // Full-scale codes over the widest window of a million points: the sum needs 64 bits.
    Codes big(1048576, 65535);
    SmoothRange(big, all(big), 1 << 20);
    EXPECT_EQ(big[524288], 65535);
}

TEST(SampleMaths, VerticalGainOffsetAndInvert) {
    EXPECT_EQ(VerticalGain(-1000), 6.0f);
    EXPECT_EQ(VerticalGain(1000), float(1.0 / 21.0));
    EXPECT_EQ(VerticalOffsetLimit(32768), 32767);
    EXPECT_EQ(VerticalOffsetLimit(2048), 4096);
    struct Case {
        VerticalAdjustment adj;
        int32_t r;
        Codes in, want;
    } cases[] = {
        {{}, 32768, {0, 1, 32768, 65535}, {0, 1, 32768, 65535}},
        {{0, 0, true}, 32768, {0, 1, 100, 32768, 65535}, {65535, 65535, 65436, 32768, 1}},
        {{-1000, 0, false}, 32768, {32868, 32668, 60000, 1000}, {33368, 32168, 65535, 0}},
        {{1000, 0, false}, 32768, {32868, 32668, 65535, 0}, {32772, 32763, 34328, 31207}},
        {{-200, 0, false}, 32768, {32868, 32668}, {32968, 32568}},
        {{50, 0, false}, 32768, {32868, 32668, 33768}, {32818, 32718, 33268}},
        {{0, -32767, false}, 32768, {0, 100, 32768}, {32767, 32867, 65535}},
        {{0, 1000, false}, 32768, {0, 100, 32768}, {0, 0, 31768}},
        {{0, 1000, true}, 32768, {0, 100, 32768}, {65535, 65535, 33768}},
        {{0, 0, true}, 2048, {0, 100, 2048, 4095}, {4095, 3996, 2048, 1}},
    };
    for (const auto& c : cases) {
        Codes out(c.in.size());
        AdjustVertical(c.in, out, c.r, c.adj);
        EXPECT_EQ(out, c.want) << c.adj.amplitude << " " << c.adj.offset << " " << c.adj.inverted;
    }
}
