#pragma once
// The graph of a waveform drawn for somewhere other than its window: the clipboard picture
// and the printed page. Each has a layout record of its own, so copying or printing never
// changes what the window's mouse mapping uses. Both draw one point per pixel column (no
// min/max strokes), no selection shading and no preview lines.

#include "workspace/core/trace.h"

#include <string>

namespace plotwell::workspace {

// The clipboard picture's canvas.
inline constexpr int kPictureWidth = 682, kPictureHeight = 543;

// Margins 40/15/15/20 on the picture's canvas; when the window's own client area is small
// (see isSmallClient) all margins are 5 and there are no labels.
PlotLayout pictureLayout(int windowClientWidth, int windowClientHeight);

// Margins of a tenth of the page, a fifth at top and bottom in portrait; labels shown.
PlotLayout printLayout(int pageWidth, int pageHeight, bool portrait);

inline constexpr platform::Rgb kPictureGridColor = 0xC0C0C0;
inline constexpr platform::Rgb kPictureTraceColor = 0x0000FF;
inline constexpr platform::Rgb kPictureTextColor = 0x000000;

// The clipboard picture, on a white background: grid, then (with 2 points or more) the
// caption, the window's labels and the trace.
void drawClipboardPicture(Canvas& c, const PlotLayout& l, const GraphInput& in, const std::string& caption);

// The printed page: grid, then (with 2 points or more) two title lines over the plot, the
// labels centred on their grid lines and the trace. `textHeight` is one line of the
// printer font in printer pixels.
void drawPrintout(Canvas& c, const PlotLayout& l, const GraphInput& in, const std::string& waveName,
                  int textHeight);

} // namespace plotwell::workspace
