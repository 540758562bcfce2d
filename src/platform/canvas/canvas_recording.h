#pragma once
// A canvas that records its calls instead of drawing, for tests: every line with its pen,
// every text with its font colour and place, every rectangle and fill.

#include "platform/canvas/canvas.h"

#include <algorithm>
#include <string>
#include <vector>

namespace plotwell::platform {

struct CanvasCall {
    enum Kind { Line, Text, Rect, Fill } kind = Line;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0; // a line's ends; a text's place in x1, y1
    std::string text;
    Pen pen;
    Rgb color = 0; // font colour of a text, colour of a fill
};

class RecordingCanvas : public Canvas {
public:
    void LineTo(int x, int y) override {
        calls.push_back({CanvasCall::Line, pos_.x, pos_.y, x, y, {}, pen_, 0});
        pos_ = {x, y};
    }
    void TextOut(int x, int y, const std::string& text) override {
        calls.push_back({CanvasCall::Text, x, y, 0, 0, text, pen_, fontColor_});
    }
    void Rectangle(int l, int t, int r, int b) override {
        calls.push_back({CanvasCall::Rect, l, t, r, b, {}, pen_, brush_.hollow ? 0 : brush_.color});
    }
    void FillRect(int l, int t, int r, int b, Rgb c) override {
        calls.push_back({CanvasCall::Fill, l, t, r, b, {}, pen_, c});
    }

    std::vector<CanvasCall> lines() const { return only(CanvasCall::Line); }
    std::vector<CanvasCall> texts() const { return only(CanvasCall::Text); }
    // Lines drawn with a pen of this colour.
    std::vector<CanvasCall> linesOf(Rgb color) const {
        std::vector<CanvasCall> out;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                     [&](const CanvasCall& c) { return c.kind == CanvasCall::Line && c.pen.color == color; });
        return out;
    }
    void clear() { calls.clear(); }

    std::vector<CanvasCall> calls;

private:
    std::vector<CanvasCall> only(CanvasCall::Kind k) const {
        std::vector<CanvasCall> out;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                     [&](const CanvasCall& c) { return c.kind == k; });
        return out;
    }
};

} // namespace plotwell::platform
