#include "workspace/forms/wfmchild.h"

#include "platform/canvas_image.h"
#include "platform/screen_cursor.h"
#include "workspace/forms/WorldView.h"
#include "workspace/forms/frame_host.h"

#include <QLabel>

#include <algorithm>

using namespace plotwell;
using platform::ScreenCursor;
using workspace::View;

namespace {
inline constexpr platform::Rgb kBandColor = 0xFFFFFF;
} // namespace

std::optional<View> TWFMform::ZoomedView() const {
    if (!workspace::zoomedViewUsable(Zoomed, ViewFirst, ViewLast, ViewMin, ViewMax, Doc.PointCount()))
        return std::nullopt;
    return View{ViewFirst, ViewLast, ViewMin, ViewMax};
}

void TWFMform::SetView(const View& v) {
    ViewFirst = v.first;
    ViewLast = v.last;
    ViewMin = v.min;
    ViewMax = v.max;
    Zoomed = 1;
    UpdateZoomArea();
}

void TWFMform::ClampViewToData() {
    // The view saved for Zoom out stays: Zoom out keeps it within the data it finds then.
    const int n = Doc.PointCount();
    const auto v = Zoomed && n >= 1 ? workspace::clampView({ViewFirst, ViewLast, ViewMin, ViewMax}, n,
                                                           Doc.SampleStream->midCode())
                                    : std::nullopt;
    if (v) {
        SetView(*v);
        RefreshOverview();
        return;
    }
    // Showing the whole waveform, there is no earlier view to zoom out to: a later band
    // must not bring back one saved over other data.
    SavedView[2] = -1;
    if (!Zoomed)
        return;
    Zoomed = 0;
    ViewFirst = -1;
    if (World && World->Shown == this && World->isVisible())
        World->hide();
    UpdateZoomArea();
}

void TWFMform::ShowOverview() {
    if (World)
        World->ShowFor(this);
}

void TWFMform::RefreshOverview() {
    if (World && Zoomed && World->Shown == this && World->isVisible())
        World->Refresh();
}

void TWFMform::RepaintWithOverview() {
    update();
    if (Zoomed && World)
        World->update();
}

void TWFMform::ShowChangedSamples() {
    RepaintWithOverview();
    PublishStatus();
}

bool TWFMform::ZoomAreaPointer() const {
    return testAttribute(Qt::WA_SetCursor) && cursor().shape() == Qt::CrossCursor;
}

// ---- View menu ---------------------------------------------------------------------------

void TWFMform::ZoomAreaClick() {
    const int n = Doc.PointCount();
    if (n >= 2 && workspace::zoomAreaAllowed(n, Doc.SampleStream->reference()))
        setCursor(Qt::CrossCursor); // until the window is deactivated
}

void TWFMform::ZoomoutClick() {
    if (!Zoomed)
        return;
    const int n = Doc.PointCount();
    if (n < 1) {
        ZoomAllClick();
        return;
    }
    const int32_t r = Doc.SampleStream->midCode();
    std::optional<View> next;
    if (SavedView[2] != -1) {
        // The view before the last band, exactly; it was within these data when saved.
        next = workspace::clampView({SavedView[2], SavedView[3], SavedView[0], SavedView[1]}, n, r);
        SavedView[2] = -1;
    } else {
        next = workspace::zoomOutView({ViewFirst, ViewLast, ViewMin, ViewMax}, n, r);
    }
    if (!next) {
        ZoomAllClick();
        return;
    }
    SetView(*next);
    ShowOverview();
    PublishStatus();
    update();
    RefreshOverview();
    FocusFrame();
}

void TWFMform::ZoomAllClick() {
    Zoomed = 0;
    ViewFirst = -1;
    SavedView[2] = -1;
    if (World && World->isVisible())
        World->hide();
    UpdateZoomArea();
    update();
    PublishStatus();
    FocusFrame();
}

// ---- the band ----------------------------------------------------------------------------

void TWFMform::xorBand(platform::Canvas* onto) {
    const auto [x1, y1, x2, y2] = ZoomRect;
    xorPolyline(onto, kBandColor, {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}});
}

bool TWFMform::BandStart(int x, int y) {
    const int n = Doc.PointCount();
    ComputeLayout();
    // A plot without pixels has nothing to map a band onto.
    if (n < 2 || !workspace::zoomAreaAllowed(n, Doc.SampleStream->reference()) || PlotWidth <= 0 ||
        PlotHeight <= 0)
        return false;
    platform::setScreenCursor(ScreenCursor::Crosshair);
    MouseHeld = 1;
    ZoomRect = {x, y, x, y};
    return true;
}

bool TWFMform::BandMove(int x, int y) {
    if (!MouseHeld)
        return false;
    xorBand();
    ZoomRect[2] = x;
    ZoomRect[3] = y;
    xorBand();
    if (workspace::bandZooms({ZoomRect[0], ZoomRect[1], x, y}))
        platform::setScreenCursor(ScreenCursor::Hidden);
    return true;
}

bool TWFMform::BandEnd() {
    if (!MouseHeld)
        return false;
    xorBand();
    MouseHeld = 0;
    platform::setScreenCursor(ScreenCursor::Default);
    // Even a band that zooms nothing leaves the current view for Zoom out.
    if (Zoomed)
        SavedView = {ViewMin, ViewMax, ViewFirst, ViewLast};
    const int n = Doc.PointCount();
    if (n < 2)
        return true;
    const auto current = ZoomedView();
    const auto v = workspace::bandView({ZoomRect[0], ZoomRect[1], ZoomRect[2], ZoomRect[3]}, Layout(), n,
                                       Doc.SampleStream->midCode(), current);
    if (!v)
        return true;
    // A zoom inside the view shows the overview afresh, back at the frame's top right
    // wherever the user had moved it.
    if (current && World && World->isVisible())
        World->hide();
    SetView(*v);
    ShowOverview();
    dimStartCursorImage->hide();
    dimEndCursorImage->hide();
    update();
    FocusFrame();
    return true;
}
