#include "app/core/frame_geometry.h"

#include <gtest/gtest.h>

using plotwell::app::firstFrameGeometry;
using plotwell::app::FrameMargins;
using plotwell::app::ScreenRect;

TEST(FrameGeometry, TheDesignSizeWhereItFitsAndNoEdgeOffTheFreeArea) {
    struct Case {
        const char* screen;
        ScreenRect free;
        FrameMargins decorations;
        ScreenRect client;
    };
    // The frame wants 1024 x 749 (its client area and the menu bar).
    const Case cases[] = {
        {"1024x768 with a 29 px title bar", {0, 0, 1024, 768}, {0, 29, 0, 0}, {0, 29, 1024, 739}},
        {"a large screen with a panel", {0, 0, 1920, 1040}, {1, 24, 1, 1}, {448, 157, 1024, 749}},
        {"exactly the window's room", {0, 0, 1028, 778}, {2, 27, 2, 2}, {2, 27, 1024, 749}},
        {"one pixel less", {0, 0, 1027, 777}, {2, 27, 2, 2}, {2, 27, 1023, 748}},
        {"a panel at the left and the top, no decorations known", {64, 32, 960, 736}, {}, {64, 32, 960, 736}},
    };
    for (const Case& c : cases) {
        const ScreenRect r = firstFrameGeometry(c.free, 1024, 749, c.decorations);
        EXPECT_EQ(r, c.client) << c.screen << ": " << r.x << "," << r.y << " " << r.width << "x" << r.height;
    }
}
