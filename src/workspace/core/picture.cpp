#include "workspace/core/picture.h"

#include "common/numtext.h"
#include "workspace/core/sample_stream.h"

namespace plotwell::workspace {

using platform::PenMode;
using platform::PenStyle;

PlotLayout pictureLayout(int windowWidth, int windowHeight) {
    if (isSmallClient(windowWidth, windowHeight))
        return gridLayout(kPictureWidth, kPictureHeight, 5, 5, 5, 5, false);
    return gridLayout(kPictureWidth, kPictureHeight, 40, 15, 15, 20, true);
}

PlotLayout printLayout(int pageWidth, int pageHeight, bool portrait) {
    const int32_t side = pageWidth * 10 / 100;
    const int32_t topBottom = pageHeight * (portrait ? 20 : 10) / 100;
    return gridLayout(pageWidth, pageHeight, side, side, topBottom, topBottom, true);
}

namespace {

struct View {
    bool zoomed = false;
    int32_t first = 0, last = 0;
    int32_t mid = 0;
};

View viewOf(const GraphInput& in) {
    const int n = int(in.codes.size());
    View v;
    v.zoomed = zoomedViewUsable(in.zoomed, in.viewFirst, in.viewLast, in.viewMin, in.viewMax, n);
    v.first = v.zoomed ? in.viewFirst : 0;
    v.last = v.zoomed ? in.viewLast : n - 1;
    v.mid = SampleStream::midCodeOf(in.reference);
    return v;
}

// The window's label texts in their order: top, bottom, middle value, first and last index.
std::vector<AxisLabel> windowLabels(const PlotLayout& l, const GraphInput& in, const View& v) {
    if (v.zoomed)
        return zoomedLabels(l, in.reference, in.unsignedDisplay, in.viewFirst, in.viewLast, in.viewMin,
                            in.viewMax);
    return unzoomedLabels(l, in.reference, in.unsignedDisplay, int(in.codes.size()));
}

void drawTrace(Canvas& c, const PlotLayout& l, const GraphInput& in, const View& v, platform::Rgb color) {
    c.SetPen({color, PenStyle::Solid, PenMode::Copy});
    if (v.zoomed)
        drawZoomedTrace(
            c, in.codes.subspan(std::size_t(v.first), std::size_t(v.last) - std::size_t(v.first) + 1), v.mid,
            in.viewMin, in.viewMax, l, false);
    else
        drawMinMaxTrace(c, in.codes, l, traceDivisor(in.reference, in.unsignedDisplay), false);
}

} // namespace

void drawClipboardPicture(Canvas& c, const PlotLayout& l, const GraphInput& in, const std::string& caption) {
    c.FillRect(0, 0, kPictureWidth, kPictureHeight, 0xFFFFFF);
    drawGrid(c, l, kPictureGridColor);
    if (in.codes.size() < 2)
        return;
    const View v = viewOf(in);
    if (l.AxisLabelsShown) {
        std::vector<AxisLabel> labels = windowLabels(l, in, v);
        // The picture writes the view's first index as it is, at the plot's left edge.
        if (v.zoomed)
            labels[3] = {l.MarginLeft, l.PlotHeight + 20, common::cformat("%d", v.first)};
        labels.insert(labels.begin(), {100, 0, v.zoomed ? caption + " (Zoomed)" : caption});
        drawLabels(c, labels, kPictureTextColor);
    }
    drawTrace(c, l, in, v, kPictureTraceColor);
}

void drawPrintout(Canvas& c, const PlotLayout& l, const GraphInput& in, const std::string& waveName, int t) {
    drawGrid(c, l, kGridColor);
    if (in.codes.size() < 2)
        return;
    const View v = viewOf(in);
    std::vector<AxisLabel> labels = windowLabels(l, in, v);
    const int valueX = l.MarginLeft - 200;
    const int indexY = l.MarginTop + l.PlotHeight + t / 2;
    labels[0].x = labels[1].x = labels[2].x = valueX;
    labels[0].y = l.MarginTop - t / 2;
    labels[1].y = l.MarginTop + l.PlotHeight - t / 2;
    labels[2].y = int(4 * l.GridCellHeight + float(labels[0].y));
    labels[3].x = l.MarginLeft;
    labels[4].x = l.MarginLeft + l.PlotWidth - 100;
    labels[3].y = labels[4].y = indexY;
    labels.insert(labels.begin(), {{l.MarginLeft, l.MarginTop - 3 * t, " Plotwell Plus"},
                                   {l.MarginLeft, l.MarginTop - 2 * t, waveName}});
    drawLabels(c, labels, kPictureTextColor);
    drawTrace(c, l, in, v, v.zoomed ? kZoomedTraceColor : kTraceColor);
}

} // namespace plotwell::workspace
