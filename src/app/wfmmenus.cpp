#include "app/wfmmenus.h"

#include "app/Plotdesk.h"
#include "common/numtext.h"
#include "platform/form.h"
#include "synthesis/forms/Scalarop.h"
#include "synthesis/forms/Waveops.h"
#include "transfer/forms/transfer_session.h"
#include "workspace/forms/wfmchild.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>

using namespace plotwell;
using workspace::WaveFileType;

TWaveMenus::TWaveMenus(TPWForm1* frame) : QObject(frame), frame_(frame) {
    setObjectName("WaveMenus");
    auto item = [](QMenu* menu, const char* name, const char* text,
                   const QKeySequence& key = QKeySequence()) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        a->setObjectName(name);
        if (!key.isEmpty())
            a->setShortcut(key);
        return a;
    };
    // An item whose command runs on the target window.
    auto onWindow = [this, item](QMenu* menu, const char* name, const char* text, auto command,
                                 const QKeySequence& key = QKeySequence()) {
        QAction* a = item(menu, name, text, key);
        connect(a, &QAction::triggered, this, [this, command] {
            if (TWFMform* w = target())
                command(w);
        });
        return a;
    };
    auto method = [](auto handler) { return [handler](TWFMform* w) { (w->*handler)(); }; };
    // Driver items: the driver acts on CurrentWaveWindow, which target() has just set.
    auto driver = [](void (TPWForm1::*d)()) { return [d](TWFMform*) { (PWForm1->*d)(); }; };
    // The generator items ask for a waveform set-up, and afterwards suit the menus to the kind.
    auto generator = [](void (TPWForm1::*d)()) {
        return [d](TWFMform* w) {
            w->Doc.PatternRequest = 0;
            (PWForm1->*d)();
            w->UpdateTypeMenus();
        };
    };

    // ---- File
    File1 = platform::named(new QMenu("&File", frame), "WaveFile1");
    New1 = onWindow(File1, "New1", "&New", method(&TWFMform::New1Click), QKeySequence("Ctrl+N"));
    Open1 = onWindow(File1, "Open1", "&Open...", method(&TWFMform::Open1Click), QKeySequence("Ctrl+O"));
    File1->addMenu(frame->OpenAs1);
    Save1 = onWindow(File1, "Save1", "&Save...", method(&TWFMform::Save1Click), QKeySequence("Ctrl+S"));
    SaveAs1 = platform::named(File1->addMenu("Save As..."), "SaveAs1");
    SaveNormalised =
        onWindow(SaveAs1, "SaveNormalised", "Normalised    *.nrm", method(&TWFMform::SaveNormalisedClick));
    SaveInternal =
        onWindow(SaveAs1, "SaveInternal", "Internal           *.wfm", method(&TWFMform::SaveInternalClick));
    SaveWaveCADwav =
        onWindow(SaveAs1, "SaveWaveCADwav", "WaveCAD       *.wav", method(&TWFMform::SaveWaveCADwavClick));
    SaveWaveCADasc =
        onWindow(SaveAs1, "SaveWaveCADasc", "WaveCAD       *.asc", method(&TWFMform::SaveWaveCADascClick));
    SaveTektronix =
        onWindow(SaveAs1, "SaveTektronix", "Tektronix        *.isf", method(&TWFMform::SaveTektronixClick));
    SaveTektronix->setEnabled(false);
    SaveBitPattern =
        onWindow(SaveAs1, "BitPatternbpn1", "Bit Pattern      *.ptn", method(&TWFMform::BitPatternbpn1Click));
    Close1 = onWindow(File1, "Close1", "&Close", method(&TWFMform::Close1Click));
    Clear1 = onWindow(File1, "Clear1", "C&lear", method(&TWFMform::Clear1Click));
    File1->addSeparator();
    File1->addAction(frame->NewProject1);
    File1->addAction(frame->OpenProject1);
    File1->addMenu(frame->FileType1);
    File1->addSeparator();
    Print1 = onWindow(File1, "Print1", "Print waveform...", method(&TWFMform::Print1Click),
                      QKeySequence("Ctrl+P"));
    File1->addSeparator();
    Exit1 = onWindow(File1, "Exit1", "E&xit", method(&TWFMform::Exit1Click));

    // ---- Edit
    Edit1 = platform::named(new QMenu("&Edit", frame), "Edit1");
    Cut1 = onWindow(Edit1, "Cut1", "Cu&t to clipboard", method(&TWFMform::Cuttoclipboard1Click),
                    QKeySequence("Ctrl+X"));
    Copy1 =
        onWindow(Edit1, "Copy1", "&Copy to clipboard", method(&TWFMform::Copy1Click), QKeySequence("Ctrl+C"));
    Paste1 = onWindow(Edit1, "Paste1", "&Paste from clipboard", driver(&TPWForm1::PasteToWaveform),
                      QKeySequence("Ctrl+V"));
    Edit1->addSeparator();
    Selectall1 = onWindow(Edit1, "Selectall1", "Select &All", method(&TWFMform::Selectall1Click),
                          QKeySequence("Ctrl+A"));
    SelectLimits1 =
        onWindow(Edit1, "SelectLimits1", "Select &Limits...", method(&TWFMform::Selectlimits1Click));
    Edit1->addSeparator();
    Verticaladjust1 =
        onWindow(Edit1, "Verticaladjust1", "&Vertical adjust...", driver(&TPWForm1::AdjustWaveform));
    Verticaltomax1 =
        onWindow(Edit1, "Verticaltomax1", "Amplitude to &max peak", method(&TWFMform::Verticaltomax1Click));
    Amplitudetomaxpkpk1 = onWindow(Edit1, "Amplitudetomaxpkpk1", "Amplitude to max pk-pk",
                                   method(&TWFMform::Amplitudetomaxpkpk1Click));
    Resize1 = onWindow(Edit1, "Resize1", "&Resize...", driver(&TPWForm1::ResizeWaveform));
    Smooth1 = onWindow(Edit1, "Smooth1", "&Smooth...", driver(&TPWForm1::SmoothWaveform));
    Edit1->addSeparator();
    EditBitPattern1 = onWindow(Edit1, "EditBitPattern1", "Edit Bit Pattern...", [](TWFMform* w) {
        w->Doc.PatternRequest = 1;
        PWForm1->EditBitPattern();
    });

    // ---- View
    View1 = platform::named(new QMenu("&View", frame), "View1");
    Zoomfull1 =
        onWindow(View1, "Zoomfull1", "&Zoom full", method(&TWFMform::ZoomAllClick), QKeySequence(Qt::Key_F4));
    Zoomout1 =
        onWindow(View1, "Zoomout1", "Zoom &out", method(&TWFMform::ZoomoutClick), QKeySequence(Qt::Key_F3));
    Zoomarea1 = onWindow(View1, "Zoomarea1", "Zoom &area", method(&TWFMform::ZoomAreaClick),
                         QKeySequence(Qt::Key_F2));
    // Zoom out and Zoom full start disabled; a paint enables Zoom area for zoomable data.
    Zoomfull1->setEnabled(false);
    Zoomout1->setEnabled(false);

    // ---- Waveform
    Waveform1 = platform::named(new QMenu("&Waveform", frame), "Waveform1");
    Sine1 = onWindow(Waveform1, "Sine1", "&Sine...", generator(&TPWForm1::SineToWaveform));
    Triangle1 = onWindow(Waveform1, "Triangle1", "&Triangle...", generator(&TPWForm1::TriangleToWaveform));
    Square1 = onWindow(Waveform1, "Square1", "Square...", generator(&TPWForm1::SquareToWaveform));
    Pulse1 = onWindow(Waveform1, "Pulse1", "&Pulse...", generator(&TPWForm1::PulseToWaveform));
    Sinc1 = onWindow(Waveform1, "Sinc1", "Sin&c...", generator(&TPWForm1::SincToWaveform));
    Exponent1 = onWindow(Waveform1, "Exponent1", "E&xponent...", generator(&TPWForm1::ExponentToWaveform));
    Gausian1 = onWindow(Waveform1, "Gausian1", "&Gaussian...", generator(&TPWForm1::GaussianToWaveform));
    Noise1 = onWindow(Waveform1, "Noise1", "&Noise...", generator(&TPWForm1::NoiseToWaveform));
    HarmonicsGenerator1 = onWindow(Waveform1, "HarmonicsGenerator1", "Harmonics Generator",
                                   generator(&TPWForm1::HarmonicsToWaveform));
    Cardiac1 = onWindow(Waveform1, "Cardiac1", "Cardiac...", generator(&TPWForm1::CardiacToWaveform));
    Waveform1->addSeparator();
    BitPattern1 = onWindow(Waveform1, "BitPattern1", "Bit Pattern...", [](TWFMform* w) {
        w->Doc.PatternRequest = 1;
        PWForm1->NewBitPattern();
    });
    Expression1 = onWindow(
        Waveform1, "Expression1", "&Expression...",
        [](TWFMform* w) {
            w->Doc.PatternRequest = 0;
            PWForm1->ExpressionToWaveform();
            // A generation over a bit pattern leaves a waveform: its menus must follow, since
            // nothing re-activates the window after the dialog.
            w->UpdateTypeMenus();
        },
        QKeySequence("Ctrl+E"));
    Draw1 = onWindow(Waveform1, "Draw1", "&Draw...", method(&TWFMform::Draw1Click));

    // ---- Maths
    Maths1 = platform::named(new QMenu("&Maths", frame), "Maths1");
    auto scalarOp = [](int op) {
        return [op](TWFMform*) {
            Scalaropdlg->ScalarOp = op;
            PWForm1->ScalarOpToWaveform();
        };
    };
    auto mathOp = [](int op) {
        return [op](TWFMform*) {
            Mathopdlg->MathOp = op;
            PWForm1->MathOpToWaveform();
        };
    };
    Addscalar1 = onWindow(Maths1, "Addscalar1", "Add &scalar..", scalarOp(0));
    Multiplybyscalar1 = onWindow(Maths1, "Multiplybyscalar1", "Multiply &by scalar...", scalarOp(1));
    Maths1->addSeparator();
    Waveformaddition1 = onWindow(Maths1, "Waveformaddition1", "Waveform &add...", mathOp(0));
    Waveformsubtraction1 = onWindow(Maths1, "Waveformsubtraction1", "Waveform s&ubtract...", mathOp(1));
    Waveformmultiply1 = onWindow(Maths1, "Waveformmultiply1", "Waveform &multiply...", mathOp(2));

    // ---- I/O control: the window's two transfer commands above the frame's set-up items
    IOcontrol1 = platform::named(new QMenu("&I/O control", frame), "WaveIOcontrol1");
    ExecuteUpload1 = onWindow(
        IOcontrol1, "ExecuteUpload1", "Execute &Upload",
        [](TWFMform* w) { TTransferSession::Executeupload1Click(w); }, QKeySequence("Ctrl+U"));
    ExecuteDownload1 = onWindow(
        IOcontrol1, "ExecuteDownload1", "Execute &Download",
        [](TWFMform* w) { TTransferSession(*w).ExecuteDownload1Click(); }, QKeySequence("Ctrl+D"));
    IOcontrol1->addSeparator();
    IOcontrol1->addAction(frame->Oscilloscopesetup1);
    IOcontrol1->addAction(frame->Generatorsetup1);
    IOcontrol1->addAction(frame->RS232setup1);

    connect(File1, &QMenu::aboutToShow, this, &TWaveMenus::File1Click);
    connect(Edit1, &QMenu::aboutToShow, this, &TWaveMenus::Edit1Click);
    connect(View1, &QMenu::aboutToShow, this, &TWaveMenus::View1Click);
    connect(Waveform1, &QMenu::aboutToShow, this, &TWaveMenus::Waveform1Click);
    connect(Maths1, &QMenu::aboutToShow, this, &TWaveMenus::Maths1Click);
    connect(IOcontrol1, &QMenu::aboutToShow, this, &TWaveMenus::IOcontrol1Click);
}

std::vector<QMenu*> TWaveMenus::menus() const {
    return {File1, Edit1, View1, Waveform1, Maths1, IOcontrol1};
}

TWFMform* TWaveMenus::target() const {
    TWFMform* w = frame_->ActiveWaveWindow();
    if (w)
        CurrentWaveWindow = w;
    return w;
}

// ---- pop-ups ---------------------------------------------------------------------------

TWFMform* TWaveMenus::popupTarget() const {
    TWFMform* w = frame_->ActiveWaveWindow();
    if (w && w->DrawMode)
        w->EndPendingLine();
    return w;
}

void TWaveMenus::File1Click() {
    popupTarget();
}
void TWaveMenus::View1Click() {
    // Zoom area follows the data as a paint would have left it.
    if (TWFMform* w = popupTarget())
        w->UpdateZoomArea();
}
void TWaveMenus::Waveform1Click() {
    popupTarget();
}

void TWaveMenus::Edit1Click() {
    popupTarget();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    Paste1->setEnabled(data && data->hasText());
}

void TWaveMenus::Maths1Click() {
    TWFMform* w = popupTarget();
    Addscalar1->setEnabled(true);
    Multiplybyscalar1->setEnabled(true);
    const bool several = frame_->WaveWindows().size() > 1;
    for (QAction* a : {Waveformaddition1, Waveformsubtraction1, Waveformmultiply1})
        a->setEnabled(several);
    if (w && w->Doc.FileType == WaveFileType::BitPattern)
        for (QAction* a :
             {Addscalar1, Multiplybyscalar1, Waveformaddition1, Waveformsubtraction1, Waveformmultiply1})
            a->setEnabled(false);
}

void TWaveMenus::IOcontrol1Click() {
    popupTarget();
    frame_->RS232setup1->setEnabled(false);
    frame_->IOcontrol1Click();
}

// The Edit and Maths items that only a waveform has, and the one only a bit pattern has.
void TWaveMenus::UpdateTypeMenus(const TWFMform& w) {
    const bool analogue = w.Doc.FileType != WaveFileType::BitPattern;
    for (QAction* a : {Verticaladjust1, Verticaltomax1, Amplitudetomaxpkpk1, Resize1, Smooth1, Addscalar1,
                       Multiplybyscalar1, Waveformaddition1, Waveformsubtraction1, Waveformmultiply1})
        a->setEnabled(analogue);
    EditBitPattern1->setEnabled(!analogue);
}
