#include "app/Plotdesk.h"

#include "app/core/frame_geometry.h"
#include "app/wfmmenus.h"
#include "common/numtext.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/ui.h"
#include "transfer/forms/instrument_links.h"
#include "transfer/forms/msgwnd.h"
#include "transfer/forms/transfer_session.h"
#include "workspace/core/cascade.h"
#include "workspace/core/file_types.h"
#include "workspace/forms/CSVPreview.h"
#include "workspace/forms/IntroForm.h"
#include "workspace/forms/wfmchild.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

using namespace plotwell;
using workspace::WaveFileType;

TPWForm1* PWForm1 = nullptr;

namespace {
constexpr int kMinimumWidth = 550;
// The client area below the menu bar, where the screen has room for it.
constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 730;
constexpr int kPanelHeight = 22;

QLabel* panelLabel(QWidget* parent, const char* name, int x) {
    auto* l = platform::named(new QLabel(parent), name);
    l->move(x, 4);
    l->setTextFormat(Qt::PlainText);
    l->setStyleSheet("color: black;");
    return l;
}
// Puts `sw` at place `index` of the cascade inside the visible client area, one title bar
// further each. A window larger than the area is made to fit it.
void placeInCascade(QMdiArea& area, QMdiSubWindow& sw, int index) {
    const QSize room = area.viewport()->size();
    sw.resize(sw.size().boundedTo(room));
    const int step = std::max(sw.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &sw), 20);
    const auto p = workspace::cascadePlace(index, sw.width(), sw.height(), room.width(), room.height(), step);
    sw.move(p.x, p.y);
}
} // namespace

TPWForm1::TPWForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("PWForm1");
    FrameHost = this;
    TransferHost = this;
    TransferConnection = &Transfers;
    setWindowTitle(platform::kAppTitle);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    MdiArea = platform::named(new QMdiArea(central), "MdiArea");
    MdiArea->setBackground(palette().color(QPalette::Dark)); // the button-shadow colour
    column->addWidget(MdiArea, 1);
    setCentralWidget(central);
    buildPanels();
    column->addWidget(Panel3);
    column->addWidget(Panel2);
    column->addWidget(Panel1);

    buildMenus();
    WaveMenus = new TWaveMenus(this);
    // The window that loses its turn hears of it before the next one is activated.
    connect(MdiArea, &QMdiArea::subWindowActivated, this,
            [this, previous = QPointer<TWFMform>()](QMdiSubWindow* sw) mutable {
                auto* w = sw ? qobject_cast<TWFMform*>(sw->widget()) : nullptr;
                if (previous && previous != w)
                    previous->FormDeactivate();
                previous = w;
                rebuildMenuBar();
                if (w)
                    w->FormActivate();
            });
    rebuildMenuBar();

    setMinimumWidth(kMinimumWidth);
    FitToScreen();
}

TPWForm1::~TPWForm1() {
    // The windows go with the MDI area after this body; their activation must not reach us.
    disconnect(MdiArea, nullptr, this, nullptr);
    if (PWForm1 == this)
        PWForm1 = nullptr;
    if (FrameHost == this)
        FrameHost = nullptr;
    if (TransferHost == this)
        TransferHost = nullptr;
    if (TransferConnection == &Transfers)
        TransferConnection = nullptr;
    CurrentWaveWindow = nullptr;
}

void TPWForm1::buildPanels() {
    auto makePanel = [this](const char* name) {
        auto* p = platform::named(new QFrame(this), name);
        p->setFrameShape(QFrame::Panel);
        p->setFrameShadow(QFrame::Raised);
        p->setFixedHeight(kPanelHeight);
        return p;
    };
    Panel3 = makePanel("Panel3");
    WaveInfo1 = panelLabel(Panel3, "WaveInfo1", 1);
    WaveInfo2 = panelLabel(Panel3, "WaveInfo2", 120);
    WaveInfo3 = panelLabel(Panel3, "WaveInfo3", 195);
    WaveInfo4 = panelLabel(Panel3, "WaveInfo4", 275);
    WaveInfo5 = panelLabel(Panel3, "WaveInfo5", 350);
    WaveInfo6 = panelLabel(Panel3, "WaveInfo6", 430);
    Panel2 = makePanel("Panel2");
    FileFormat = panelLabel(Panel2, "FileFormat", 1);
    Panel1 = makePanel("Panel1");
    UploadInfo = panelLabel(Panel1, "UploadInfo", 1);
    DownloadInfo = panelLabel(Panel1, "DownloadInfo", 430);
}

void TPWForm1::buildMenus() {
    auto act = [this](QMenu* menu, const char* name, const char* text, auto handler,
                      const QKeySequence& key = QKeySequence()) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        a->setObjectName(name);
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };

    File1 = platform::named(new QMenu("&File", this), "File1");
    New1 = act(File1, "New1", "&New", &TPWForm1::New1Click, QKeySequence("Ctrl+N"));
    Open1 = act(File1, "Open1", "&Open...", &TPWForm1::Open1Click, QKeySequence("Ctrl+O"));
    OpenAs1 = platform::named(File1->addMenu("Open As..."), "OpenAs1");
    act(OpenAs1, "OpenInternal", "Internal         *.wfm", &TPWForm1::OpenInternalClick);
    act(OpenAs1, "OpenNormalised", "Normalised   *.nrm", &TPWForm1::OpenNormalisedClick);
    act(OpenAs1, "OpenWaveCADwav", "WaveCAD     *.wav", &TPWForm1::OpenWaveCADwavClick);
    act(OpenAs1, "OpenWaveCADasc", "WaveCAD     *.asc", &TPWForm1::OpenWaveCADascClick);
    act(OpenAs1, "OpenTektronix", "Tektronix      *.isf", &TPWForm1::OpenTektronixClick);
    act(OpenAs1, "OpenCsv", "Comma Separated Values   *.csv", &TPWForm1::OpenCsvClick);
    act(OpenAs1, "BitPatternptn1", "Bit Pattern      *.ptn", &TPWForm1::BitPatternptn1Click);
    File1->addSeparator();
    NewProject1 = act(File1, "NewProject1", "New Pro&ject...", &TPWForm1::NewProject1Click);
    OpenProject1 = act(File1, "OpenProject1", "Open &Project...", &TPWForm1::OpenProject1Click);
    FileType1 = platform::named(File1->addMenu("File Type"), "FileType1");
    act(FileType1, "TypeInternal", "Internal         *.wfm", &TPWForm1::TypeInternalClick);
    act(FileType1, "TypeNormalised", "Normalised   *.nrm", &TPWForm1::TypeNormalisedClick);
    act(FileType1, "TypeWaveCADwav", "WaveCAD     *.wav", &TPWForm1::TypeWaveCADwavClick);
    act(FileType1, "TypeWaveCADasc", "WaveCAD     *.asc", &TPWForm1::TypeWaveCADascClick);
    act(FileType1, "TypeTektronix", "Tektronix      *.isf", &TPWForm1::TypeTektronixClick);
    File1->addSeparator();
    Exit1 = act(File1, "Exit1", "E&xit", &TPWForm1::Exit1Click);

    IOcontrol1 = platform::named(new QMenu("&I/O control", this), "IOcontrol1");
    Generatorsetup1 =
        act(IOcontrol1, "Generatorsetup1", "Do&wnload setup...", &TPWForm1::Generatorsetup1Click);
    Oscilloscopesetup1 =
        act(IOcontrol1, "Oscilloscopesetup1", "U&pload setup...", &TPWForm1::Oscilloscopesetup1Click);
    RS232setup1 = act(IOcontrol1, "RS232setup1", "&RS232 setup...", &TPWForm1::RS232setup1Click);
    connect(IOcontrol1, &QMenu::aboutToShow, this, &TPWForm1::IOcontrol1Click);

    Window1 = platform::named(new QMenu("&Window", this), "Window1");
    Tile1 = act(Window1, "Tile1", "&Tile", &TPWForm1::Tile1Click);
    Cascade1 = act(Window1, "Cascade1", "&Cascade", &TPWForm1::Cascade1Click);
    Arrangeicons1 = act(Window1, "Arrangeicons1", "&Arrange icons", &TPWForm1::Arrangeicons1Click);
    windowList_ = Window1; // the open windows are listed below a separator
    connect(Window1, &QMenu::aboutToShow, this, &TPWForm1::Window1Click);

    Help1 = platform::named(new QMenu("&Help", this), "Help1");
    Contents1 = act(Help1, "Contents1", "&Contents", &TPWForm1::Contents1Click);
    AboutPlotwell1 = act(Help1, "AboutPlotwell1", "&About Plotwell...", &TPWForm1::AboutPlotwell1Click);

    frameMenus_ = {File1, IOcontrol1};
}

// The active waveform window's menus take the place of the frame's File and I/O control
// menus; Window and Help stay.
void TPWForm1::rebuildMenuBar() {
    QMenuBar* bar = menuBar();
    bar->clear();
    const auto menus = ActiveWaveWindow() ? WaveMenus->menus() : frameMenus_;
    for (QMenu* m : menus)
        bar->addMenu(m);
    bar->addMenu(Window1);
    bar->addMenu(Help1);
}

std::vector<TWFMform*> TPWForm1::WaveWindows() const {
    std::vector<TWFMform*> out;
    for (QMdiSubWindow* sw : MdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto* w = qobject_cast<TWFMform*>(sw->widget()); w && !w->isClosed())
            out.push_back(w);
    return out;
}

TWFMform* TPWForm1::ActiveWaveWindow() const {
    // Not activeSubWindow(): that is null while a dialog or the overview has the focus.
    QMdiSubWindow* sw = MdiArea->currentSubWindow();
    return sw ? qobject_cast<TWFMform*>(sw->widget()) : nullptr;
}

TWFMform* TPWForm1::CreateWaveWindow() {
    auto* w = new TWFMform(this);
    const QSize client = w->size();
    QMdiSubWindow* sw = MdiArea->addSubWindow(w);
    sw->setAttribute(Qt::WA_DeleteOnClose);
    // The window's client area keeps the size the form gave it. Its size and place are set
    // before it shows: where the active window is maximised, the MDI area maximises the new
    // one as it shows, and a Restore brings it back to them.
    sw->resize(client.grownBy(sw->contentsMargins()));
    placeInCascade(*MdiArea, *sw, int(MdiArea->subWindowList().size()) - 1);
    sw->show();
    MdiArea->setActiveSubWindow(sw);
    CurrentWaveWindow = w;
    connect(w, &QObject::destroyed, this, [w] {
        if (CurrentWaveWindow == w)
            CurrentWaveWindow = nullptr;
    });
    return w;
}

void TPWForm1::ActivateWaveWindow(TWFMform* w) {
    if (w && w->subWindow())
        MdiArea->setActiveSubWindow(w->subWindow());
}

// ---- start-up --------------------------------------------------------------------------

void TPWForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitToScreenWhenFramed();
    // The start-up sequence runs at the first activation, once every form exists.
    if (FirstActivation)
        QTimer::singleShot(0, this, &TPWForm1::FormActivate);
}

std::string TPWForm1::GlobalSettingsPath() const {
    return platform::joinPath(platform::joinPath(AppDataDir, "plotwell"), "PWSET.INI");
}

std::string TPWForm1::DefaultHomeDir() {
    return platform::joinPath(platform::documentsDir(), "Plotwell");
}

void TPWForm1::FormActivate() {
    if (!FirstActivation)
        return;
    // Runs once: no library is needed or loaded yet.
    FirstActivation = false;
    Transfers.forgetLibraries();
    // The folders the program starts from and keeps its settings in.
    StartDirectory = platform::currentDir();
    AppDataDir = platform::configDir();
    // The global settings, or the defaults written as a first start's settings file.
    if (!ReadGlobalSettings()) {
        DocumentsPath = platform::documentsDir();
        HomeDir = DefaultHomeDir();
        PrjFile = "Default";
        WriteGlobalSettings();
    }
    // The project; without one, the default transfer settings and file type.
    if (!ReadProject()) {
        transfer::applyTransferDefaults(TransferSettings);
        GlobalFileType = WaveFileType::Internal;
    }
    // The transfer dialogs show the settings just read.
    PushSettingsToDialogs();
    // Open and Save start with the default file type.
    OpenType = SaveType = GlobalFileType;
    ShowDefaultFileType();
    // The serial ports there are now.
    ListComPorts();
    // The stored interfaces, and whether GPIB or USB is needed.
    RestoreInterfaces(TransferSettings);
    // Only a needed instrument library is loaded.
    if (Transfers.GpibNeeded)
        LoadGpibLibrary();
    if (Transfers.UsbNeeded)
        LoadUsbLibrary();
    // No window is being closed by name.
    ClosingNamed = false;
    // The expression library, for the expression dialog's list.
    LoadExpressionLibrary();
    // The status lines name the transfer instruments.
    ShowDownloadInfo();
    ShowUploadInfo();
}

// ---- File menu -------------------------------------------------------------------------

void TPWForm1::New1Click() {
    TWFMform* w = CreateWaveWindow();
    w->Doc.CreateSampleStream();
}

void TPWForm1::Open1Click() {
    if (MessageWnd)
        MessageWnd->SetStayOnTop();
    auto& d = OpenFileDialog;
    // A type without an open dialog of its own leaves the dialog as it was.
    const workspace::FileTypeRow* row = workspace::FindFileType(OpenType);
    if (row && row->openTitle) {
        d.defaultExt = row->extension;
        d.filter = workspace::OpenFilter(*row);
        d.initialDir = FolderPath(row->folder);
        d.title = row->openTitle;
    }
    d.fileMustExist = true;
    d.overwritePrompt = true;
    const bool ok = platform::ui().openFile(d);
    if (OpenType != WaveFileType::Csv) {
        if (ok) {
            TWFMform* w = CreateWaveWindow();
            w->LoadFromFile(d.fileName);
        }
        SaveType = OpenType = GlobalFileType;
    } else {
        CsvFilePath = d.fileName;
        CsvFileName = d.fileName;
    }
}

void TPWForm1::SetOpenDialogName(const std::string& name) {
    OpenFileDialog.fileName = name;
}

void TPWForm1::OpenAs(WaveFileType type) {
    OpenType = type;
    OpenFileDialog.fileName.clear();
    Open1Click();
}

void TPWForm1::OpenInternalClick() {
    OpenAs(WaveFileType::Internal);
}
void TPWForm1::OpenNormalisedClick() {
    OpenAs(WaveFileType::Normalised);
}
void TPWForm1::OpenWaveCADwavClick() {
    OpenAs(WaveFileType::WaveCadWav);
}
void TPWForm1::OpenWaveCADascClick() {
    OpenAs(WaveFileType::WaveCadAsc);
}
void TPWForm1::OpenTektronixClick() {
    OpenAs(WaveFileType::Tektronix);
}
void TPWForm1::BitPatternptn1Click() {
    OpenAs(WaveFileType::BitPattern);
}

void TPWForm1::OpenCsvClick() {
    OpenAs(WaveFileType::Csv);
    if (!CsvFileName.empty() && ImportCSV)
        ImportCSV->ShowImport(CsvFilePath, CsvFileName);
    OpenType = SaveType = GlobalFileType;
}

void TPWForm1::SetFileType(WaveFileType type) {
    GlobalFileType = OpenType = SaveType = type;
    ShowDefaultFileType();
}

void TPWForm1::TypeInternalClick() {
    SetFileType(WaveFileType::Internal);
}
void TPWForm1::TypeNormalisedClick() {
    SetFileType(WaveFileType::Normalised);
}
void TPWForm1::TypeWaveCADwavClick() {
    SetFileType(WaveFileType::WaveCadWav);
}
void TPWForm1::TypeWaveCADascClick() {
    SetFileType(WaveFileType::WaveCadAsc);
}
void TPWForm1::TypeTektronixClick() {
    SetFileType(WaveFileType::Tektronix);
}

void TPWForm1::ShowDefaultFileType() {
    FileFormat->setText(platform::toQString(
        common::cformat("   Default File Type:   %s", workspace::FileTypeDescription(GlobalFileType))));
    FileFormat->adjustSize();
    OpenFileDialog.fileName.clear();
}

void TPWForm1::Exit1Click() {
    close();
}

// ---- Window and Help menus -----------------------------------------------------------

void TPWForm1::Window1Click() {
    const auto windows = WaveWindows();
    const bool any = !windows.empty();
    Tile1->setEnabled(any);
    Cascade1->setEnabled(any);
    Arrangeicons1->setEnabled(any);
    fillWindowList();
}

void TPWForm1::fillWindowList() {
    for (QAction* a : windowList_->actions())
        if (a->property("windowEntry").toBool())
            windowList_->removeAction(a), a->deleteLater();
    const auto windows = WaveWindows();
    if (windows.empty())
        return;
    QAction* sep = windowList_->addSeparator();
    sep->setProperty("windowEntry", true);
    int n = 1;
    TWFMform* active = ActiveWaveWindow();
    for (TWFMform* w : windows) {
        QAction* a = windowList_->addAction(QStringLiteral("&%1 %2").arg(n++).arg(w->windowTitle()));
        a->setProperty("windowEntry", true);
        a->setCheckable(true);
        a->setChecked(w == active);
        QPointer<TWFMform> target(w);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target)
                ActivateWaveWindow(target);
        });
    }
}

void TPWForm1::Tile1Click() {
    MdiArea->tileSubWindows();
}
// The windows keep their sizes and are only staggered, bottom first, so that the one on top
// stays on top.
void TPWForm1::Cascade1Click() {
    int index = 0;
    for (QMdiSubWindow* sw : MdiArea->subWindowList(QMdiArea::StackingOrder)) {
        if (sw->isMinimized())
            continue;
        if (sw->isMaximized())
            sw->showNormal();
        placeInCascade(*MdiArea, *sw, index++);
        sw->raise();
    }
}

// Minimised windows are lined up along the bottom of the client area.
void TPWForm1::Arrangeicons1Click() {
    int x = 0;
    const int bottom = MdiArea->viewport()->height();
    for (QMdiSubWindow* sw : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sw->isMinimized())
            continue;
        const QSize s = sw->size();
        if (x + s.width() > MdiArea->viewport()->width() && x > 0)
            x = 0;
        sw->move(x, bottom - s.height());
        x += s.width();
    }
}

void TPWForm1::Contents1Click() {
    platform::ui().showHelp(0);
}

void TPWForm1::AboutPlotwell1Click() {
    if (IntroForm1)
        IntroForm1->ShowAbout();
}

// ---- frame size ------------------------------------------------------------------------

void TPWForm1::FitToScreen() {
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    const QRect outer = frameGeometry(), client = geometry();
    const app::FrameMargins decorations{client.left() - outer.left(), client.top() - outer.top(),
                                        outer.right() - client.right(), outer.bottom() - client.bottom()};
    const app::ScreenRect r =
        app::firstFrameGeometry({free.x(), free.y(), free.width(), free.height()}, kDesignWidth,
                                kDesignHeight + menuBar()->sizeHint().height(), decorations);
    setGeometry(r.x, r.y, r.width, r.height);
    fitted_ = geometry();
}

void TPWForm1::KeepMovedOrResized(const QEvent& event) {
    if (!fitWhenFramed_ || geometry() == fitted_)
        return;
    // The window system's own moves and resizes before the window shows are the window
    // manager framing and placing it; once it shows, they are the user's.
    const QWindow* native = windowHandle();
    if (!event.spontaneous() || (native && native->isExposed()))
        fitWhenFramed_ = false;
}

void TPWForm1::FitToScreenWhenFramed() {
    if (!fitWhenFramed_ || !isVisible() || frameGeometry() == geometry())
        return;
    fitWhenFramed_ = false;
    FitToScreen();
}

void TPWForm1::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    KeepMovedOrResized(*event);
    FitToScreenWhenFramed();
}

void TPWForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        FitToScreenWhenFramed();
}

void TPWForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    KeepMovedOrResized(*event);
    if (width() < kMinimumWidth)
        resize(kMinimumWidth, height());
    FitStatusLabels();
    if (TWFMform* w = ActiveWaveWindow())
        w->EndPendingLine();
}

// ---- shut-down -------------------------------------------------------------------------

bool TPWForm1::QueryCloseAll() {
    for (TWFMform* w : WaveWindows())
        if (!w->FormCloseQuery())
            return false;
    return true;
}

void TPWForm1::closeEvent(QCloseEvent* event) {
    // At exit only each window's close query runs; the windows then go with the frame.
    if (!QueryCloseAll()) {
        event->ignore();
        return;
    }
    // The close goes on: a running transfer ends as its Cancel would end it. (A close that
    // a save question stopped leaves it running.)
    TTransferSession::CancelTransfer();
    FormCloseQuery();
    FormClose();
    event->accept();
    // Dialogs, the overview, the help window or a status note may still be showing; none
    // of them may keep the program from ending here, as quit() would let them.
    QCoreApplication::exit(0);
}

void TPWForm1::FormCloseQuery() {
    WriteProject();
}

void TPWForm1::FormClose() {
    Transfers.freeLibraries();
}

void TPWForm1::CloseWindowsNamed(TWFMform* closing) {
    for (TWFMform* w : WaveWindows()) {
        if (w == closing || w->Doc.WaveName != CloseName)
            continue;
        // Unsaved edits of another channel are not thrown away unasked: its own save
        // question comes first, and a Cancel keeps that window open.
        if (!w->closeQueried() && w->Doc.SaveState != 0 && !w->AskToSave())
            continue;
        ClosingNamed = true;
        w->Close1Click();
        ClosingNamed = false;
    }
}

bool TPWForm1::CloseAllWindows() {
    return QueryCloseAll() && CloseQueriedWindows();
}

bool TPWForm1::CloseQueriedWindows() {
    // Every query has been answered before the first close, so no window asks again when it
    // goes with the others of its file.
    std::vector<QPointer<TWFMform>> windows;
    for (TWFMform* w : WaveWindows()) {
        w->CloseQueried();
        windows.emplace_back(w);
    }
    for (const auto& w : windows) {
        // A window closed meanwhile with the others of its file is not closed twice.
        if (!w || w->isClosed())
            continue;
        w->SuppressStatus = 1;
        w->Close1Click();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return WaveWindows().empty();
}
