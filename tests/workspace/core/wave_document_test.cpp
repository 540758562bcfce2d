#include "workspace/core/wave_document.h"

#include <gtest/gtest.h>

using namespace plotwell::workspace;

namespace {
WaveDocument withPoints(int points) {
    WaveDocument d;
    d.CreateSampleStream();
    if (points > 0)
        d.SampleStream->resize(std::size_t(points));
    return d;
}
} // namespace

TEST(WaveDocument, PointCountIsBelowOneUntilDataArrive) {
    WaveDocument d;
    EXPECT_EQ(d.PointCount(), -1); // no sample store yet
    d.CreateSampleStream();
    EXPECT_EQ(d.PointCount(), -1); // an empty one
    d.SampleStream->assign(2048, std::vector<uint16_t>(5, 2048));
    EXPECT_EQ(d.PointCount(), 5);
}

TEST(WaveDocument, SelectionIsBroughtWithinThePoints) {
    struct Row {
        int points, start, end, wantStart, wantEnd;
    };
    const Row rows[] = {
        {10, 2, 5, 2, 5},   // inside: unchanged
        {10, 2, 50, 2, 9},  // end beyond the last point
        {10, -3, 4, 0, 4},  // start before the first
        {10, 7, 3, 3, 3},   // a start after the end moves down to it
        {10, 12, 15, 9, 9}, // both beyond: the end first, then the start
        {10, 4, -2, 0, 0},  // an end before the first
        {0, 7, 3, 7, 3},    // no point: nothing to bring the selection within
    };
    for (const Row& r : rows) {
        WaveDocument d = withPoints(r.points);
        d.SelectionStart = r.start;
        d.SelectionEnd = r.end;
        d.NormaliseSelection();
        EXPECT_EQ(d.SelectionStart, r.wantStart) << r.points << " " << r.start << ".." << r.end;
        EXPECT_EQ(d.SelectionEnd, r.wantEnd) << r.points << " " << r.start << ".." << r.end;
    }
}

TEST(WaveDocument, SelectWholeCoversEveryPointAndLeavesAnEmptyDocument) {
    WaveDocument d = withPoints(8);
    d.SelectionStart = 2;
    d.SelectionEnd = 3;
    EXPECT_FALSE(d.WholeSelected());
    d.SelectWhole();
    EXPECT_EQ(d.SelectionStart, 0);
    EXPECT_EQ(d.SelectionEnd, 7);
    EXPECT_TRUE(d.WholeSelected());
    WaveDocument empty = withPoints(0);
    empty.SelectionStart = empty.SelectionEnd = 4;
    empty.SelectWhole();
    EXPECT_EQ(empty.SelectionStart, 4);
    EXPECT_EQ(empty.SelectionEnd, 4);
}

TEST(WaveDocument, HistoryEntriesAreErasedByIndex) {
    WaveDocument d;
    d.GenerationHistory = {{"0", "9", "100.00", "0.00", "0", "amp*sin(omg*t)"},
                           {"0", "9", "50.00", "1.00", "1", "t"},
                           {"2", "4", "10.00", "0.00", "2", "a + b"}};
    EXPECT_EQ(d.HistoryCount(), 3);
    EXPECT_FALSE(d.EraseHistoryEntry(3));
    EXPECT_FALSE(d.EraseHistoryEntry(-1));
    EXPECT_TRUE(d.EraseHistoryEntry(1));
    ASSERT_EQ(d.HistoryCount(), 2);
    EXPECT_EQ(d.GenerationHistory[0].expression, "amp*sin(omg*t)");
    EXPECT_EQ(d.GenerationHistory[1].levelMode, "2");
}
