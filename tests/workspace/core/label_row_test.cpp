#include "workspace/core/label_row.h"

#include <gtest/gtest.h>

using plotwell::workspace::placeLabelRow;
using Xs = std::optional<std::vector<int>>;

TEST(LabelRow, LabelsKeepTheirPlacesThenMoveApartThenPack) {
    const std::vector<int> places = {1, 100, 200};
    struct Row {
        std::vector<int> widths;
        int width;
        Xs xs;
    };
    const Row rows[] = {
        {{50, 50, 50}, 400, std::vector<int>{1, 100, 200}},  // all at their places
        {{120, 50, 50}, 400, std::vector<int>{1, 125, 200}}, // pushed right, the gap kept
        {{120, 90, 50}, 400, std::vector<int>{1, 125, 219}}, // the push carries on
        {{50, 50, 150}, 300, std::vector<int>{1, 55, 109}},  // past the end: packed
        {{150, 150, 150}, 300, std::nullopt},                // too wide even packed
    };
    for (const Row& r : rows)
        EXPECT_EQ(placeLabelRow(r.widths, places, 4, r.width), r.xs) << r.width;
}
