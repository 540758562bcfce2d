#include "workspace/core/cascade.h"

#include <gtest/gtest.h>

using plotwell::workspace::cascadePlace;
using plotwell::workspace::WindowPlace;

TEST(Cascade, RunsStayInsideTheAreaAndStartAgainFurtherRight) {
    // Windows of 300 x 200 in an area of 1000 x 500, steps of 100: runs of four.
    struct Row {
        int index;
        WindowPlace place;
    };
    const Row rows[] = {{0, {0, 0}},     {1, {100, 100}}, {3, {300, 300}}, {4, {100, 0}},
                        {7, {400, 300}}, {8, {200, 0}},   {12, {300, 0}},  {16, {400, 0}}};
    for (const Row& r : rows)
        EXPECT_EQ(cascadePlace(r.index, 300, 200, 1000, 500, 100), r.place) << r.index;
    for (int i = 0; i < 100; ++i) {
        const WindowPlace p = cascadePlace(i, 300, 200, 1000, 500, 23);
        EXPECT_LE(p.x + 300, 1000) << i;
        EXPECT_LE(p.y + 200, 500) << i;
    }
}

TEST(Cascade, AWindowLargerThanTheAreaStandsAtItsTopLeft) {
    EXPECT_EQ(cascadePlace(3, 1200, 200, 1000, 500, 20), (WindowPlace{0, 0}));
    EXPECT_EQ(cascadePlace(0, 100, 100, 0, 0, 20), (WindowPlace{0, 0}));
}
