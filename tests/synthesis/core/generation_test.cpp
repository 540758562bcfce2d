#include "synthesis/core/generation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using namespace plotwell::synthesis;
using plotwell::workspace::SampleStream;

namespace {

struct RecordingSink : GenerationSink {
    std::vector<std::pair<std::string, Box>> boxes;
    int shows = 0, steps = 0, closes = 0;
    std::size_t boxesBeforeWritten = SIZE_MAX;
    void message(const std::string& text, Box icon) override { boxes.emplace_back(text, icon); }
    void written() override { boxesBeforeWritten = boxes.size(); }
    void progressShow() override { ++shows; }
    void progressStep() override { ++steps; }
    void progressClose() override { ++closes; }
};

struct GenRun {
    ExpressionContext ctx;
    RecordingSink sink;
    SampleStream target;
    GenerationOutcome outcome;

    GenRun(uint16_t reference, int points, uint16_t fill = 7) : target(reference, std::size_t(points), fill) {
        ctx.MidCode = SampleStream::midCodeOf(reference);
    }
    GenRun& go(const std::string& expr, int start, int end, int amplitude, int offset = 0, int mode = 0) {
        ctx.AmplitudeCodes = amplitude;
        ctx.OffsetCodes = offset;
        ctx.LevelMode = mode;
        ctx.Gain = 1.0;
        ctx.Shift = 0.0;
        sink = {};
        outcome = generateWaveform(ctx, expr, start, end, target, nullptr, sink);
        return *this;
    }
    int code(int i) const { return target.code(std::size_t(i)); }
};

TEST(Generation, FullScaleSineUsesTheWholeCodeRangeWithoutClipping) {
    GenRun r(1, 1000);
    r.go("amp*sin(omg*t)", 0, 999, 65535);
    EXPECT_EQ(r.ctx.Amp, 32767);
    EXPECT_EQ(r.ctx.Per, 1000);
    EXPECT_EQ(r.code(0), 32768);
    EXPECT_EQ(r.code(250), 65535);
    EXPECT_EQ(r.code(750), 1);
    EXPECT_FALSE(r.outcome.clipped);
    EXPECT_TRUE(r.outcome.written);
    EXPECT_TRUE(r.sink.boxes.empty());
}

TEST(Generation, RoundsHalfAwayFromZeroByAddingAHalf) {
    struct Case {
        const char* expr;
        int code;
    } cases[] = {{"0.5", 32769},
                 {"-0.5", 32767},
                 {"2.4999", 32770},
                 {"-2.5", 32765},
                 {"0.49999", 32768},
                 {"-1.5", 32766},
                 {"0.49999999999999994", 32769},
                 {"0", 32768},
                 {"-0.4", 32768}};
    for (const auto& c : cases) {
        GenRun r(1, 3);
        r.go(c.expr, 0, 2, 65535);
        EXPECT_EQ(r.code(1), c.code) << c.expr;
    }
    EXPECT_EQ(valueToCode(-0.5, 2048, 0, nullptr), 2047);

    // The ends: codes held at 0 and the top are clipped; NaN is the mid code and is not.
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    struct End {
        double v;
        int32_t mid, offset;
        int64_t code;
        bool clipped;
    } ends[] = {
        {nan, 32768, 500, 32768, false},   {inf, 32768, 0, 65535, true},
        {-inf, 32768, 0, 0, true},         {1e300, 32768, 0, 65535, true},
        {32766.5, 32768, 0, 65535, false}, {32767.5, 32768, 0, 65535, true},
        {-32767.5, 32768, 0, 0, false},    {-32768.5, 32768, 0, 0, true},
        {2047.4, 2048, 100, 4095, true},   {0.4, 1, 0, 1, false},
        {0, 32768, -2000000000, 0, true},  {1099511627781.0, 32768, 0, 65535, true},
    };
    for (const End& e : ends) {
        bool clipped = false;
        EXPECT_EQ(valueToCode(e.v, e.mid, e.offset, &clipped), e.code) << e.v << " with mid " << e.mid;
        EXPECT_EQ(clipped, e.clipped) << e.v << " with mid " << e.mid;
    }
}

// The writing pass converts a block at a time; every value gives the code valueToCode gives.
TEST(Generation, ABlockOfCodesIsValueToCodeForEachValue) {
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    const std::vector<double> values{
        0.0, -0.0, 0.5, -0.5,  2.4999,  -2.5,     0.49999999999999994, 1e300, -1e300,
        inf, -inf, nan, 32767, 32767.5, -32768.5, 1099511627781.0,     -3e12, 2047.4};
    struct Setting {
        double shift, divisor, gain;
        int32_t mid, offset;
    };
    const Setting settings[] = {{0, 1, 1, 32768, 0},     {0, 1, 1, 2048, 100},
                                {0.25, 1, 3, 512, -600}, {-1, 1e-300, 1e-10, 32768, 7},
                                {0, 1, 1, 1, 0},         {0, 1, 1, 32768, -2000000000}};
    for (const Setting& g : settings) {
        std::vector<uint16_t> codes(values.size());
        const bool clipped = valuesToCodes(values.data(), int(values.size()), g.shift, g.divisor, g.gain,
                                           g.mid, g.offset, codes.data());
        bool anyClipped = false;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double v = (values[i] + g.shift) / g.divisor * g.gain;
            EXPECT_EQ(codes[i], uint16_t(valueToCode(v, g.mid, g.offset, &anyClipped)))
                << values[i] << " with mid " << g.mid << ", offset " << g.offset;
        }
        EXPECT_EQ(clipped, anyClipped) << "mid " << g.mid;
    }
}

TEST(Generation, ClippingHoldsTheEndsAndWarnsOnlyAtUnityGain) {
    GenRun r(2048, 10);
    r.go("amp", 0, 9, 4095, 100);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(r.code(i), 4095);
    ASSERT_EQ(r.sink.boxes.size(), 1u);
    EXPECT_EQ(r.sink.boxes[0].first, "Warning\nThe waveform is clipped\n");
    EXPECT_EQ(r.sink.boxes[0].second, GenerationSink::Box::Warning);
    EXPECT_EQ(r.sink.boxesBeforeWritten, 0u) << "the window shows the codes before it warns";
    EXPECT_TRUE(r.outcome.clipped);

    r.go("-amp*2", 0, 9, 4095);
    EXPECT_EQ(r.code(3), 0);
    EXPECT_EQ(r.sink.boxes.size(), 1u);

    // A caller's gain other than 1 clips silently.
    r.ctx.AmplitudeCodes = 4095;
    r.ctx.LevelMode = 0;
    r.ctx.Gain = 3.0;
    r.ctx.Shift = 0.0;
    r.sink = {};
    r.outcome = generateWaveform(r.ctx, "amp", 0, 9, r.target, nullptr, r.sink);
    EXPECT_TRUE(r.outcome.clipped);
    EXPECT_TRUE(r.sink.boxes.empty());
}

TEST(Generation, NonFiniteValuesSaturate) {
    GenRun r(2048, 4);
    r.go("1e400*(t-1.5)", 0, 3, 4095, 0);
    EXPECT_EQ(r.code(0), 0);
    EXPECT_EQ(r.code(3), 4095);
    EXPECT_TRUE(r.outcome.clipped);
    // NaN (a reported maths failure) gives the mid code, offset or not.
    r.go("(t-5)^0.5", 0, 3, 4095, 300);
    EXPECT_EQ(r.code(2), 2048);
    ASSERT_EQ(r.sink.boxes.size(), 1u);
    EXPECT_EQ(r.sink.boxes[0].first, "pow: DOMAIN error");
}

TEST(Generation, AutoPeakScalesTheLargestMagnitudeToAmp) {
    GenRun r(1, 100);
    r.go("-abs(sin(omg*t))", 0, 99, 65535, 0, 1);
    EXPECT_EQ(r.code(0), 32768);
    EXPECT_EQ(r.code(25), 1);
    EXPECT_EQ(r.code(50), 32768);
    EXPECT_EQ(r.code(75), 1);
    EXPECT_EQ(r.ctx.LevelMode, 0);
    EXPECT_EQ(r.ctx.Shift, 0.0);
    EXPECT_DOUBLE_EQ(r.ctx.Gain, 32767.0);
    EXPECT_EQ(r.sink.shows, 2);

    GenRun z(1, 5);
    z.go("0", 0, 4, 1001, 100, 1);
    EXPECT_EQ(z.ctx.Gain, 0.0);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(z.code(i), 32868);
}

TEST(Generation, AutoPkPkCentresBetweenTheExtremes) {
    GenRun r(1, 100);
    r.go("sin(omg*t)+5", 0, 99, 65535, 0, 2);
    EXPECT_DOUBLE_EQ(r.ctx.Shift, -5.0);
    EXPECT_EQ(r.code(0), 32768);
    EXPECT_EQ(r.code(25), 65535);
    EXPECT_EQ(r.code(50), 32768);
    EXPECT_EQ(r.code(75), 1);
    r.go("sin(omg*t)+5", 0, 99, 1001, 10, 2);
    EXPECT_EQ(r.code(0), 32778);
    EXPECT_EQ(r.code(25), 33278);
    EXPECT_EQ(r.code(75), 32278);
    // Infinite extremes leave nothing to scale by: the gain is 0, infinity times 0 is
    // undefined, and undefined values go to the mid code.
    r.go("1e400*(t-50)", 0, 99, 1001, 10, 2);
    EXPECT_EQ(r.ctx.Gain, 0.0);
    EXPECT_EQ(r.ctx.Shift, 0.0);
    EXPECT_EQ(r.code(60), 32768);
    EXPECT_EQ(r.code(50), 32768);
}

// A finite peak so small that amplitude / peak overflows still scales to full scale: the
// values are divided by the peak before they are multiplied by the amplitude.
TEST(Generation, AutoLevelOnATinyPeakReachesFullScale) {
    struct Case {
        const char* expr;
        int mode;
        std::vector<int> codes;
    } cases[] = {
        {"1e-320", AutoAdjustPeak, {65535, 65535, 65535, 65535}},
        {"-1e-320", AutoAdjustPeak, {1, 1, 1, 1}},
        {"1e-320*sin(omg*t)", AutoAdjustPeak, {32768, 65535, 32768, 1}},
        {"1e-320*sin(omg*t)", AutoAdjustPkPk, {32768, 65535, 32768, 1}},
        {"4e-309*(t-1.5)", AutoAdjustPkPk, {1, 21846, 43690, 65535}},
    };
    for (const auto& c : cases) {
        GenRun r(1, 4);
        r.go(c.expr, 0, 3, 65535, 0, c.mode);
        EXPECT_EQ(r.ctx.ErrorCode, 0) << c.expr;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(r.code(i), c.codes[std::size_t(i)]) << c.expr << " mode " << c.mode << " point " << i;
        EXPECT_FALSE(r.outcome.clipped) << c.expr;
    }
}

TEST(Generation, AutoLevelThatCannotFitIsRefusedBeforeAnything) {
    GenRun r(1, 10);
    r.go("sin(omg*t)", 0, 9, 65535, 20000, 1);
    EXPECT_EQ(r.ctx.ErrorCode, 100);
    ASSERT_EQ(r.sink.boxes.size(), 1u);
    EXPECT_EQ(r.sink.boxes[0].first,
              "Auto level adjustment is not possible\namplitude/2 + offset > peak amplitude\n");
    EXPECT_EQ(r.sink.shows, 0);
    EXPECT_EQ(r.code(0), 7);
    EXPECT_EQ(r.ctx.LevelMode, 1);
    r.go("sin(omg*t)", 0, 9, 65535, -20000, 2);
    EXPECT_EQ(r.ctx.ErrorCode, 100);
}

TEST(Generation, AnErrorPartWayKeepsThePointsAlreadyWritten) {
    GenRun r(1, 100);
    r.go("1/(t-10)", 0, 99, 65535);
    EXPECT_EQ(r.ctx.ErrorCode, 5);
    EXPECT_EQ(r.code(0), 32768);
    EXPECT_EQ(r.code(9), 32767);
    EXPECT_EQ(r.code(10), 7);
    EXPECT_EQ(r.code(99), 7);
    EXPECT_FALSE(r.outcome.written);
    EXPECT_EQ(r.sink.closes, 1);
    ASSERT_EQ(r.sink.boxes.size(), 1u);
    EXPECT_EQ(r.sink.boxes[0].first, "\nERROR encountered at the ?\n1/(t-10) ? \nDivide by zero\n");

    // In an auto mode the failure stops the measuring pass: nothing is written.
    GenRun a(1, 100);
    a.go("1/(t-10)", 0, 99, 1001, 0, 2);
    EXPECT_EQ(a.ctx.ErrorCode, 5);
    EXPECT_EQ(a.code(0), 7);
}

TEST(Generation, OnePointRangeAndTheRangeIsClampedToTheTarget) {
    GenRun r(1, 10);
    r.go("omg", 4, 4, 65535);
    EXPECT_EQ(r.ctx.Per, 1);
    EXPECT_EQ(r.ctx.F, 1);
    EXPECT_EQ(r.ctx.Omg, 6.28318530717958);
    EXPECT_EQ(r.code(4), 32774);
    EXPECT_EQ(r.code(3), 7);

    r.go("t", 20, 3, 65535); // start past the last point: 0
    EXPECT_EQ(r.outcome.start, 0);
    EXPECT_EQ(r.outcome.end, 3);
    r.go("t", 5, 1000, 65535);
    EXPECT_EQ(r.outcome.end, 9);
    EXPECT_EQ(r.code(9), 32768 + 4);
    r.go("t", 6, 2, 65535); // end before start: the start
    EXPECT_EQ(r.outcome.end, 6);
    r.go("t", -5, -2, 65535);
    EXPECT_EQ(r.outcome.start, 0);
    EXPECT_EQ(r.outcome.end, 0);

    GenRun empty(1, 0);
    empty.target = SampleStream();
    empty.go("1", 0, 5, 65535);
    EXPECT_EQ(empty.ctx.ErrorCode, 15);
    EXPECT_TRUE(empty.target.empty());
}

TEST(Generation, RndIsMeasuredOnOneSequenceAndWrittenWithTheNext) {
    GenRun a(1, 50), b(1, 50);
    a.go("rnd", 0, 49, 65535, 0, 2);
    // The same generator state, one pass only: the written values are the second 50 draws.
    ExpressionRandom r;
    for (int i = 0; i < 50; ++i)
        r.value();
    double draws[50];
    for (double& d : draws)
        d = r.value();
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(a.code(i), valueToCode((draws[i] + a.ctx.Shift) * a.ctx.Gain, 32768, 0, nullptr));
    EXPECT_EQ(a.ctx.Random.state(), r.state());
    (void)b;
}

TEST(Generation, ProgressIsSteppedAboutAHundredTimesPerPass) {
    GenRun r(1, 100000);
    r.go("t*0", 0, 99999, 65535);
    EXPECT_GE(r.sink.steps, 95);
    EXPECT_LE(r.sink.steps, 100);
    r.go("t*0", 0, 99999, 65535, 0, 1);
    EXPECT_GE(r.sink.steps, 190);
    EXPECT_EQ(r.sink.shows, 2);
    EXPECT_EQ(r.sink.closes, 1);
}

} // namespace

namespace {

TEST(Generation, RndPreviewsDifferButTheFirstAfterStartIsAlwaysTheSame) {
    GenRun a(1, 64), b(1, 64);
    a.go("amp*rnd", 0, 63, 65535);
    const auto first = a.target;
    a.go("amp*rnd", 0, 63, 65535);
    EXPECT_NE(a.target, first);
    b.go("amp*rnd", 0, 63, 65535); // a new program start: a fresh generator
    EXPECT_EQ(b.target, first);
    EXPECT_EQ(first.code(0), valueToCode(32767 * (130 * (1.0 / 32767) * 2 - 1), 32768, 0, nullptr));
}

} // namespace

namespace {

TEST(Generation, ASmallMidCodeClampsAtTwiceTheMidLessOne) {
    GenRun r(1000, 4);
    r.go("amp*sin(omg*t)", 0, 3, 1999);
    EXPECT_EQ(r.ctx.Amp, 999);
    const int plain[] = {1000, 1999, 1000, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(r.code(i), plain[i]) << i;
    EXPECT_TRUE(r.sink.boxes.empty());
    r.go("amp*sin(omg*t)", 0, 3, 1999, 10);
    const int offset[] = {1010, 1999, 1010, 11};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(r.code(i), offset[i]) << i;
    ASSERT_EQ(r.sink.boxes.size(), 1u);
    EXPECT_EQ(r.sink.boxes[0].first, "Warning\nThe waveform is clipped\n");
}

TEST(Generation, ACommaThatLeavesABracketOpenDoesNotCarryToTheNextPoint) {
    // Each point starts with no open bracket, however many points came before.
    GenRun r(1, 300);
    r.go("((1),2)", 0, 299, 65535);
    EXPECT_EQ(r.ctx.ErrorCode, 0);
    for (int i : {0, 126, 127, 128, 255, 256, 299})
        EXPECT_EQ(r.code(i), 32769) << i;
}

} // namespace
