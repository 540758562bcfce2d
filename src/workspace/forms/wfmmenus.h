#pragma once
// The menus of the waveform windows (File, Edit, View, Waveform, Maths, I/O control).
// One set of actions owned by the frame; each command acts on the window whose menu or
// shortcut started it, captured when the command starts.

#include <QObject>

#include <vector>

class QAction;
class QMenu;
class TPWForm1;
class TWFMform;

class TWaveMenus : public QObject {
    Q_OBJECT
public:
    explicit TWaveMenus(TPWForm1* frame);

    // The menus in menu-bar order.
    std::vector<QMenu*> menus() const;
    // The window the commands act on: the frame's active waveform window.
    TWFMform* target() const;

    QMenu* File1 = nullptr;
    QMenu* Edit1 = nullptr;
    QMenu* View1 = nullptr;
    QMenu* Waveform1 = nullptr;
    QMenu* Maths1 = nullptr;
    QMenu* IOcontrol1 = nullptr;

    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* Clear1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Selectall1 = nullptr;
    QAction* Selectlimits1 = nullptr;
    QAction* ZoomArea = nullptr;
    QAction* Zoomout = nullptr;
    QAction* ZoomAll = nullptr;

private:
    TPWForm1* frame_;
};
