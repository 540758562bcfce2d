#include "workspace/forms/wfmmenus.h"

#include "platform/form.h"
#include "workspace/forms/Plotdesk.h"
#include "workspace/forms/wfmchild.h"

#include <QMenu>

TWaveMenus::TWaveMenus(TPWForm1* frame) : QObject(frame), frame_(frame) {
    setObjectName("WaveMenus");
    auto onWindow = [this](QMenu* menu, const char* name, const char* text, auto handler,
                           QKeySequence key = QKeySequence()) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        a->setObjectName(name);
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, [this, handler] {
            if (TWFMform* w = target())
                (w->*handler)();
        });
        return a;
    };

    File1 = plotwell::platform::named(new QMenu("&File", frame), "WaveFile1");
    New1 = onWindow(File1, "New1", "&New", &TWFMform::New1Click, QKeySequence("Ctrl+N"));
    Open1 = onWindow(File1, "Open1", "&Open...", &TWFMform::Open1Click, QKeySequence("Ctrl+O"));
    File1->addMenu(frame->OpenAs1);
    Save1 = onWindow(File1, "Save1", "&Save...", &TWFMform::Save1Click, QKeySequence("Ctrl+S"));
    Close1 = onWindow(File1, "Close1", "&Close", &TWFMform::Close1Click);
    File1->addSeparator();
    File1->addAction(frame->NewProject1);
    File1->addAction(frame->OpenProject1);
    File1->addMenu(frame->FileType1);
    File1->addSeparator();
    Exit1 = onWindow(File1, "Exit1", "E&xit", &TWFMform::Exit1Click);

    Edit1 = plotwell::platform::named(new QMenu("&Edit", frame), "Edit1");
    Selectall1 = onWindow(Edit1, "Selectall1", "Select &All", &TWFMform::Selectall1Click, QKeySequence("Ctrl+A"));
    Selectlimits1 = onWindow(Edit1, "Selectlimits1", "Select &Limits...", &TWFMform::Selectlimits1Click);
    View1 = plotwell::platform::named(new QMenu("&View", frame), "View1");
    // The zoom commands are connected by the zoom unit; the paint enables Zoom area.
    auto viewItem = [this](const char* name, const char* text, const char* key, bool enabled) {
        QAction* a = View1->addAction(QString::fromUtf8(text));
        a->setObjectName(name);
        a->setShortcut(QKeySequence(key));
        a->setEnabled(enabled);
        return a;
    };
    ZoomArea = viewItem("ZoomArea", "Zoom &area", "F2", true);
    Zoomout = viewItem("Zoomout", "Zoom &out", "F3", false);
    ZoomAll = viewItem("ZoomAll", "&Zoom full", "F4", false);
    Waveform1 = plotwell::platform::named(new QMenu("&Waveform", frame), "Waveform1");
    Maths1 = plotwell::platform::named(new QMenu("&Maths", frame), "Maths1");
    IOcontrol1 = frame->IOcontrol1;
}

std::vector<QMenu*> TWaveMenus::menus() const { return {File1, Edit1, View1, Waveform1, Maths1, IOcontrol1}; }

TWFMform* TWaveMenus::target() const {
    TWFMform* w = frame_->ActiveWaveWindow();
    if (w)
        CurrentWaveWindow = w;
    return w;
}

void TWFMform::UpdateTypeMenus() {}
void TWFMform::EndPendingLine() {}
