#pragma once
// The screen pointer: one override entry at most, so nested operations never leave a
// stale busy cursor behind.

namespace plotwell::platform {

enum class ScreenCursor { Default, Busy, Crosshair, Hidden, DrawPen };

void setScreenCursor(ScreenCursor kind);
ScreenCursor screenCursor();
void setPointerPos(int screenX, int screenY);

// Busy cursor for the length of one operation; puts back the cursor that was there.
class BusyCursor {
public:
    BusyCursor() : previous_(screenCursor()) { setScreenCursor(ScreenCursor::Busy); }
    ~BusyCursor() { setScreenCursor(previous_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    ScreenCursor previous_;
};

} // namespace plotwell::platform
