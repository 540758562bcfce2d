#include "synthesis/core/paste.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plotwell::synthesis;
using plotwell::workspace::kMaxPoints;
using plotwell::workspace::SampleStream;

namespace {
std::vector<uint16_t> codesOf(const SampleStream& s) {
    return {s.codes().begin(), s.codes().end()};
}
SampleStream ramp(uint16_t r, int n) {
    SampleStream s(r, std::size_t(n));
    for (int i = 0; i < n; ++i)
        s.setCode(std::size_t(i), uint16_t(i));
    return s;
}
} // namespace

// Overwriting the selection: the buffer stretched or kept to the selection's length, then
// scaled by amplitude and offset about the mid code.
TEST(Paste, OverwriteScalesAndResamples) {
    const struct {
        std::vector<uint16_t> buffer;
        uint16_t r;
        int points;
        int32_t amplitude, offset;
        std::vector<uint16_t> codes;
        bool clipped;
    } cases[] = {
        {{32768, 65535, 32768, 1},
         32768,
         8,
         65535,
         0,
         {32768, 65535, 65535, 32768, 32768, 1, 1, 32768},
         false},
        // Stretched in single-precision steps: three thirds fall just short of the next point.
        {{32768, 65535}, 32768, 8, 65535, 0, {32768, 43690, 54612, 65534, 65534, 54612, 43690, 32768}, false},
        {{49151, 1, 65535}, 32768, 3, 65535, 0, {49151, 1, 65535}, false},
        {{1, 32767, 32768, 65535}, 2048, 4, 4095, 0, {0, 2047, 2047, 4094}, false},
        {{1, 32768, 65535}, 32768, 3, 32767, 1000, {17384, 33767, 50150}, false},
        {{1, 32768, 65535}, 32768, 3, 65535, 5, {6, 32773, 65535}, true},
        {{1, 65535}, 2048, 2, 4095, -100, {0, 3994}, true},
    };
    for (const auto& c : cases) {
        SampleStream target = ramp(c.r, c.points + 2);
        PasteRequest rq;
        rq.start = 1;
        rq.end = c.points;
        rq.amplitude = c.amplitude;
        rq.offset = c.offset;
        rq.midCode = SampleStream::midCodeOf(c.r);
        const PasteOutcome out = applyPaste(target, c.buffer, rq);
        ASSERT_EQ(out.status, PasteOutcome::Status::Ok);
        std::vector<uint16_t> expected{0};
        expected.insert(expected.end(), c.codes.begin(), c.codes.end());
        expected.push_back(uint16_t(c.points + 1));
        EXPECT_EQ(codesOf(target), expected) << c.points << " points, amplitude " << c.amplitude;
        EXPECT_EQ(out.clipped, c.clipped);
        EXPECT_EQ(out.start, 1);
        EXPECT_EQ(out.end, c.points);
    }
}

// Inserting: the buffer becomes `expandCount` points at one of four places and the whole
// waveform is selected.
TEST(Paste, InsertModesPlaceThePointsAndSelectAll) {
    const std::vector<uint16_t> buffer{49151, 1, 65535};
    const std::vector<uint16_t> pasted{49151, 1, 65535};
    const struct {
        PasteMode mode;
        std::size_t at;
    } cases[] = {
        {PasteMode::AtStartPoint, 10},
        {PasteMode::AtEndPoint, 21},
        {PasteMode::AtWaveformStart, 0},
        {PasteMode::AtWaveformEnd, 1000},
    };
    for (const auto& c : cases) {
        SampleStream target = ramp(32768, 1000);
        PasteRequest rq{c.mode, 10, 20, 3, 65535, 0, 32768};
        const PasteOutcome out = applyPaste(target, buffer, rq);
        ASSERT_EQ(out.status, PasteOutcome::Status::Ok);
        std::vector<uint16_t> expected = codesOf(ramp(32768, 1000));
        expected.insert(expected.begin() + std::ptrdiff_t(c.at), pasted.begin(), pasted.end());
        EXPECT_EQ(codesOf(target), expected) << int(c.mode);
        EXPECT_EQ(out.start, 0);
        EXPECT_EQ(out.end, 1002);
    }
    // 100 numbers appended to 1000 points as 100 points; a stretch to 6 points as well.
    SampleStream target = ramp(32768, 1000);
    std::vector<uint16_t> hundred(100, 40000);
    EXPECT_EQ(applyPaste(target, hundred, {PasteMode::AtWaveformEnd, 0, 0, 100, 65535, 0, 32768}).end, 1099);
    EXPECT_EQ(target.count(), 1100);
    EXPECT_EQ(target.code(1099), 40000);
    applyPaste(target, buffer, {PasteMode::AtWaveformStart, 0, 0, 6, 65535, 0, 32768});
    EXPECT_EQ(target.count(), 1106);
}

TEST(Paste, NothingToProduceOrTooLongLeavesTheTargetAlone) {
    const std::vector<uint16_t> buffer{1, 65535};
    SampleStream target = ramp(2048, 10);
    const SampleStream before = target;
    EXPECT_EQ(applyPaste(target, buffer, {PasteMode::AtStartPoint, 0, 9, 0, 4095, 0, 2048}).status,
              PasteOutcome::Status::NoPoints);
    EXPECT_EQ(applyPaste(target, buffer, {PasteMode::AtWaveformEnd, 0, 9, 1048567, 4095, 0, 2048}).status,
              PasteOutcome::Status::TooLong);
    // A result of exactly the longest waveform is pasted.
    SampleStream longest = target;
    EXPECT_EQ(applyPaste(longest, buffer, {PasteMode::AtWaveformEnd, 0, 9, 1048566, 4095, 0, 2048}).status,
              PasteOutcome::Status::Ok);
    EXPECT_EQ(longest.count(), kMaxPoints);
    SampleStream empty(2048, 0);
    EXPECT_EQ(applyPaste(empty, buffer, {PasteMode::Overwrite, 0, 0, 0, 4095, 0, 2048}).status,
              PasteOutcome::Status::NoPoints);
    EXPECT_EQ(target, before);
}
