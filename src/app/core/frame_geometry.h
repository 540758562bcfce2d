#pragma once
// Where the main frame first stands on the screen.

namespace plotwell::app {

struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// What a window manager puts around a window's client area (its title bar and borders).
struct FrameMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The frame's first client area on a screen whose free part (without panels and docks) is
// `available`: the wanted size where the window with its decorations fits, and as much as
// fits where it does not, so that no edge of it starts off the screen. The window stands in
// the middle of the free part, never above or left of it.
ScreenRect firstFrameGeometry(const ScreenRect& available, int wantedWidth, int wantedHeight,
                              const FrameMargins& decorations);

} // namespace plotwell::app
