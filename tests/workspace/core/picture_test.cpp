#include "workspace/core/picture.h"

#include "platform/canvas/canvas_recording.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plotwell::workspace;
using plotwell::platform::CanvasCall;
using plotwell::platform::RecordingCanvas;

namespace {
struct Text {
    int x, y;
    std::string text;
    bool operator==(const Text&) const = default;
};
std::vector<Text> texts(const RecordingCanvas& c) {
    std::vector<Text> out;
    for (const auto& t : c.texts())
        out.push_back({t.x1, t.y1, t.text});
    return out;
}
} // namespace

TEST(Picture, LayoutsOfTheClipboardPictureAndThePage) {
    const PlotLayout pic = pictureLayout(400, 300);
    EXPECT_EQ(pic.MarginTop, 20);
    EXPECT_EQ(pic.MarginBottom, 15);
    EXPECT_EQ(pic.PlotHeight, 504);
    EXPECT_EQ(pic.PlotWidth, 620);
    EXPECT_TRUE(pic.AxisLabelsShown);
    const PlotLayout small = pictureLayout(99, 300);
    EXPECT_EQ(small.MarginLeft, 5);
    EXPECT_FALSE(small.AxisLabelsShown);
    EXPECT_EQ(small.PlotWidth, 670);

    const PlotLayout land = printLayout(3300, 2550, false);
    EXPECT_EQ(land.MarginLeft, 330);
    EXPECT_EQ(land.MarginRight, 330);
    EXPECT_EQ(land.MarginTop, 255);
    EXPECT_EQ(land.GridCellWidth, 264);
    EXPECT_EQ(land.PlotHeight, 8 * 255);
    const PlotLayout port = printLayout(2550, 3300, true);
    EXPECT_EQ(port.MarginTop, 660);
    EXPECT_EQ(port.MarginBottom, 660);
    EXPECT_EQ(port.PlotHeight, (3300 - 1320) / 8 * 8);
}

TEST(Picture, ClipboardPictureUnzoomedAndZoomed) {
    const PlotLayout l = pictureLayout(400, 300); // ML 40, MT 20, PW 620, PH 504
    std::vector<uint16_t> codes(1000, 32768);
    codes[0] = 65535;
    GraphInput in;
    in.codes = codes;
    in.reference = 1;
    RecordingCanvas c;
    drawClipboardPicture(c, l, in, "wave.wfm");
    EXPECT_EQ(texts(c), (std::vector<Text>{{100, 0, "wave.wfm"},
                                           {3, 16, "    +1"},
                                           {5, 517, "    -1"},
                                           {3, 265, "      0"},
                                           {40, 524, "0"},
                                           {633, 524, "   999"}}));
    EXPECT_EQ(c.linesOf(kPictureGridColor).size(), 20u);
    const auto trace = c.linesOf(kPictureTraceColor);
    // One point per column: from the first point, one line into each column up to the last,
    // where the walk ends.
    ASSERT_EQ(trace.size(), 619u);
    EXPECT_EQ(trace.front().x1, 40);
    EXPECT_EQ(trace.front().y1, traceY(65535, 65536, l));
    EXPECT_EQ(trace.back().x2, 40 + 619);

    in.zoomed = true;
    in.viewFirst = 100;
    in.viewLast = 199;
    in.viewMin = -100;
    in.viewMax = 100;
    c.clear();
    drawClipboardPicture(c, l, in, "wave.wfm");
    const auto t = texts(c);
    EXPECT_EQ(t[0], (Text{100, 0, "wave.wfm (Zoomed)"}));
    EXPECT_EQ(t[1].text, "+0.003");
    EXPECT_EQ(t[4], (Text{40, 524, "100"}));
    EXPECT_EQ(t[5], (Text{633, 524, "   199"}));
    EXPECT_FALSE(c.linesOf(kPictureTraceColor).empty());
}

TEST(Picture, PrintoutPlacesTitlesAndLabelsByTheTextHeight) {
    const PlotLayout l = printLayout(3300, 2550, false); // ML 330, MT 255, PW 2640, PH 2040
    const int t = 50;
    std::vector<uint16_t> codes(10, 2048);
    GraphInput in;
    in.codes = codes;
    in.reference = 2048;
    RecordingCanvas c;
    drawPrintout(c, l, in, "/data/wave.wfm", t);
    EXPECT_EQ(texts(c), (std::vector<Text>{{330, 105, " Plotwell Plus"},
                                           {330, 155, "/data/wave.wfm"},
                                           {130, 230, " +2047"},
                                           {130, 2270, " -2048"},
                                           {130, 1250, "      0"},
                                           {330, 2320, "0"},
                                           {2870, 2320, "     9"}}));
    EXPECT_EQ(c.linesOf(kGridColor).size(), 20u);
    EXPECT_FALSE(c.linesOf(kTraceColor).empty());

    // One point: the grid only, no titles.
    c.clear();
    in.codes = std::span(codes).first(1);
    drawPrintout(c, l, in, "/data/wave.wfm", t);
    EXPECT_TRUE(c.texts().empty());
    EXPECT_EQ(c.lines().size(), 20u);

    // A zoomed view: its own labels and the zoomed trace colour.
    c.clear();
    in.codes = codes;
    in.zoomed = true;
    in.viewFirst = 2;
    in.viewLast = 7;
    in.viewMin = -10;
    in.viewMax = 30;
    drawPrintout(c, l, in, "w", t);
    const auto z = texts(c);
    EXPECT_EQ(z[2].text, "   +30");
    EXPECT_EQ(z[5].text, "     2");
    EXPECT_EQ(z[6].text, "     7");
    EXPECT_FALSE(c.linesOf(kZoomedTraceColor).empty());
}
