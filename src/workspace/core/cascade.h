#pragma once
// Where the windows of a cascade stand in the frame's client area. New windows and the
// Window > Cascade command share it, so that no window starts outside what the user sees.

namespace plotwell::workspace {

struct WindowPlace {
    int x = 0, y = 0;
    bool operator==(const WindowPlace&) const = default;
};

// The place of window `index` (0 = the first) of a cascade that steps `step` pixels right
// and down. A run ends before a window would reach past the right or bottom edge of the
// area; the next run starts again at the top, a step further right while that still fits.
// A window larger than the area stands at its top left.
WindowPlace cascadePlace(int index, int width, int height, int areaWidth, int areaHeight, int step);

} // namespace plotwell::workspace
