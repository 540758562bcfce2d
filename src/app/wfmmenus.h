#pragma once
// The menus of the waveform windows (File, Edit, View, Waveform, Maths, I/O control).
// One set of actions owned by the frame; each command acts on the window whose menu or
// shortcut started it, captured when the command starts (it becomes CurrentWaveWindow).
//
// Items whose commands are not built yet exist with their captions, shortcuts and enabling
// rules and are connected by the unit that builds the command (look the action up here).

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
    // The window a command acts on: the frame's active waveform window, which becomes
    // CurrentWaveWindow. Null when no waveform window is active.
    TWFMform* target() const;

    // The pop-up handlers, run when a top-level menu opens.
    void File1Click();
    void Edit1Click();
    void View1Click();
    void Waveform1Click();
    void Maths1Click();
    void IOcontrol1Click();
    // Suits the items to the kind of `w` (waveform or bit pattern).
    void UpdateTypeMenus(const TWFMform& w);

    QMenu* File1 = nullptr;
    QMenu* SaveAs1 = nullptr;
    QMenu* Edit1 = nullptr;
    QMenu* View1 = nullptr;
    QMenu* Waveform1 = nullptr;
    QMenu* Maths1 = nullptr;
    QMenu* IOcontrol1 = nullptr;

    // File
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveNormalised = nullptr;
    QAction* SaveInternal = nullptr;
    QAction* SaveWaveCADwav = nullptr;
    QAction* SaveWaveCADasc = nullptr;
    QAction* SaveTektronix = nullptr;  // disabled in the layout, and stays so
    QAction* SaveBitPattern = nullptr; // BitPatternbpn1
    QAction* Close1 = nullptr;
    QAction* Clear1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* Exit1 = nullptr;
    // Edit
    QAction* Cut1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* Selectall1 = nullptr;
    QAction* SelectLimits1 = nullptr;
    QAction* Verticaladjust1 = nullptr;
    QAction* Verticaltomax1 = nullptr;      // "Amplitude to &max peak"
    QAction* Amplitudetomaxpkpk1 = nullptr; // "Amplitude to max pk-pk"
    QAction* Resize1 = nullptr;
    QAction* Smooth1 = nullptr;
    QAction* EditBitPattern1 = nullptr;
    // View
    QAction* Zoomfull1 = nullptr;
    QAction* Zoomout1 = nullptr;
    QAction* Zoomarea1 = nullptr;
    // Waveform
    QAction* Sine1 = nullptr;
    QAction* Triangle1 = nullptr;
    QAction* Square1 = nullptr;
    QAction* Pulse1 = nullptr;
    QAction* Sinc1 = nullptr;
    QAction* Exponent1 = nullptr;
    QAction* Gausian1 = nullptr;
    QAction* Noise1 = nullptr;
    QAction* HarmonicsGenerator1 = nullptr;
    QAction* Cardiac1 = nullptr;
    QAction* BitPattern1 = nullptr;
    QAction* Expression1 = nullptr;
    QAction* Draw1 = nullptr;
    // Maths
    QAction* Addscalar1 = nullptr;
    QAction* Multiplybyscalar1 = nullptr;
    QAction* Waveformaddition1 = nullptr;
    QAction* Waveformsubtraction1 = nullptr;
    QAction* Waveformmultiply1 = nullptr;
    // I/O control (the three set-up items are the frame's own actions)
    QAction* ExecuteUpload1 = nullptr;
    QAction* ExecuteDownload1 = nullptr;

private:
    // Every pop-up first ends a pending line of draw mode.
    TWFMform* popupTarget() const;

    TPWForm1* frame_;
};
