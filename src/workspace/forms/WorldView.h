#pragma once
// The overview window: the whole waveform of a zoomed window in magenta, with a box around
// the part the window shows. Dragging the box pans the window's view.

#include "platform/form.h"
#include "workspace/core/zoom.h"

#include <QImage>
#include <QPointer>

#include <array>

class QTimer;
class TWFMform;
namespace plotwell::platform {
class Canvas;
}

class TWorld : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TWorld(QWidget* parent = nullptr);

    // The waveform window whose view is shown.
    QPointer<TWFMform> Shown;
    int BoxDragging = 0;
    std::array<int, 4> BoxRect{}; // left, bottom, right, top
    std::array<int, 2> BoxGrab{};
    int SmallBox = 0;
    // What paintEvent shows; the box is toggled in it with XOR.
    QImage Surface;

    // Shows the view of `w`: the caption, placed by the frame when it was hidden, repainted.
    void ShowFor(TWFMform* w);
    // Renders the waveform and the box afresh.
    void Refresh();
    // Places the window at the frame's top right.
    void FormShow();
    // Places the window again once the window manager shows it framed after a showing.
    void PlaceWhenFramed();
    // Shown, and not yet placed again with its frame.
    bool WaitingForFrame() const;
    void FormPaint();
    void DrawZoomBox(plotwell::platform::Canvas& canvas);
    void FormMouseDown(Qt::MouseButton button, int x, int y);
    void FormMouseMove(int x, int y);
    void FormMouseUp();

    static constexpr int ClientWidth = 222, ClientHeight = 108;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    plotwell::workspace::Box box() const;
    void setBox(const plotwell::workspace::Box& b);
    void xorBox();

    // Looks, after each showing, for the window manager to have framed the window.
    QTimer* framedCheck_ = nullptr;
    int framedChecksLeft_ = 0;
};

extern TWorld* World;
