#include "app/core/frame_geometry.h"

#include <algorithm>

namespace plotwell::app {

namespace {
// One side: the client's extent and where it starts, its decorations before it (`lead`) and
// after it (`trail`).
void fitSide(int start, int room, int wanted, int lead, int trail, int& at, int& extent) {
    extent = std::max(0, std::min(wanted, room - lead - trail));
    at = start + std::max(0, (room - (lead + extent + trail)) / 2) + lead;
}
} // namespace

ScreenRect firstFrameGeometry(const ScreenRect& available, int wantedWidth, int wantedHeight,
                              const FrameMargins& decorations) {
    ScreenRect r;
    fitSide(available.x, available.width, wantedWidth, decorations.left, decorations.right, r.x, r.width);
    fitSide(available.y, available.height, wantedHeight, decorations.top, decorations.bottom, r.y, r.height);
    return r;
}

} // namespace plotwell::app
