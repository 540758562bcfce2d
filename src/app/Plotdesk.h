#pragma once
// The main frame: an MDI frame whose children are the waveform windows. It holds the
// state the whole program shares and runs start-up and shut-down.
//
// Its operations live in several units by subject:
//   Plotdesk.cpp           frame, menus, start-up sequence, Open, file types, shut-down
//   Plotdesk_project.cpp   global and project settings files, New/Open Project
//   Plotdesk_settings.cpp  transfer settings dialogs, the RS-232 menu items, status lines
//   Plotdesk_status.cpp    status panel and the sample-range search
//   Plotdesk_drivers.cpp   the operation drivers of the waveform menus
//   Plotdesk_files.cpp     post-save pass, data-logger channels
//   Plotdesk_host.cpp      what the forms below ask of the frame (TFrameHost, TTransferHost)

#include "transfer/core/session.h"
#include "transfer/core/transfer_settings.h"
#include "transfer/forms/transfer_host.h"
#include "workspace/forms/frame_host.h"

#include <QMainWindow>
#include <QPointer>

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"

class QImage;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QAction;
class QFrame;
class TWFMform;
class TWaveMenus;
class TSetTransfer;
class TOperationDialog;

namespace plotwell::workspace {
class SampleStream;
}

class TPWForm1 : public QMainWindow, public TFrameHost, public TTransferHost {
    Q_OBJECT
public:
    explicit TPWForm1(QWidget* parent = nullptr);
    ~TPWForm1() override;

    // ---- own state, in declaration order -------------------------------------------
    // (The file types, the save folders, the sample range and the close-by-name flags
    // that the forms share are TFrameHost's fields.)
    bool FirstActivation = true;
    // The instrument connection: libraries, serial port, open link and running transfer.
    // The frame holds it for the program's life; the transfer forms drive it.
    plotwell::transfer::TransferSession Transfers;
    std::string ProjectIniPath;
    std::string WaveCadDefaultDir;
    std::string WaveCadQv3030Dir;
    std::string WaveCadQva3460Dir;
    std::string CsvFilePath;
    plotwell::transfer::TransferSettings TransferSettings;
    std::string StartDirectory;
    std::string HomeDir;
    std::string AppDataDir;
    std::string DocumentsPath;
    std::string PrjFile;
    std::string CsvFileName;

    // The open dialog keeps its state between uses.
    plotwell::platform::FileDialogState OpenFileDialog;
    plotwell::platform::FileDialogState NewProjectDialog;

    // ---- components ---------------------------------------------------------------
    QMdiArea* MdiArea = nullptr;
    QFrame* Panel1 = nullptr; // UploadInfo, DownloadInfo
    QFrame* Panel2 = nullptr; // FileFormat
    QFrame* Panel3 = nullptr; // WaveInfo1..6
    QLabel* WaveInfo1 = nullptr;
    QLabel* WaveInfo2 = nullptr;
    QLabel* WaveInfo3 = nullptr;
    QLabel* WaveInfo4 = nullptr;
    QLabel* WaveInfo5 = nullptr;
    QLabel* WaveInfo6 = nullptr;
    QLabel* FileFormat = nullptr;
    QLabel* UploadInfo = nullptr;
    QLabel* DownloadInfo = nullptr;

    QMenu* File1 = nullptr;
    QMenu* OpenAs1 = nullptr;
    QMenu* FileType1 = nullptr;
    QMenu* IOcontrol1 = nullptr;
    QMenu* Window1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* NewProject1 = nullptr;
    QAction* OpenProject1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Generatorsetup1 = nullptr;    // "Do&wnload setup..."
    QAction* Oscilloscopesetup1 = nullptr; // "U&pload setup..."
    QAction* RS232setup1 = nullptr;
    QAction* Tile1 = nullptr;
    QAction* Cascade1 = nullptr;
    QAction* Arrangeicons1 = nullptr;
    QAction* Contents1 = nullptr;
    QAction* AboutPlotwell1 = nullptr;
    // The waveform windows' menus: one set, owned by the frame, acting on the active window.
    TWaveMenus* WaveMenus = nullptr;

    // ---- windows --------------------------------------------------------------------
    // Waveform windows in creation order.
    std::vector<TWFMform*> WaveWindows() const override;
    // The active waveform window, or null.
    TWFMform* ActiveWaveWindow() const;
    // Creates a waveform window owned by the frame and makes it CurrentWaveWindow.
    TWFMform* CreateWaveWindow() override;
    void ActivateWaveWindow(TWFMform* w) override;

    // ---- Plotdesk.cpp -------------------------------------------------------------
    void FormActivate();
    void New1Click() override;
    void Open1Click() override;
    void OpenInternalClick() override;
    void OpenNormalisedClick() override;
    void OpenWaveCADwavClick() override;
    void OpenWaveCADascClick() override;
    void OpenTektronixClick() override;
    void BitPatternptn1Click();
    void OpenCsvClick();
    void TypeInternalClick() override;
    void TypeNormalisedClick() override;
    void TypeWaveCADwavClick() override;
    void TypeWaveCADascClick() override;
    void TypeTektronixClick() override;
    void ShowDefaultFileType();
    void SetOpenDialogName(const std::string& name) override;
    void Window1Click();
    void Tile1Click();
    void Cascade1Click();
    void Arrangeicons1Click();
    void Contents1Click();
    void AboutPlotwell1Click();
    void Exit1Click() override;
    // Shut-down halves: the project write, then the library release.
    void FormCloseQuery();
    void FormClose();
    // Closes every other window showing CloseName, without their questions.
    void CloseWindowsNamed(TWFMform* closing) override;
    // Closes every waveform window (project switch): first every close query, then the
    // closes. False, with nothing closed, when a query refused.
    bool CloseAllWindows();
    // The global settings file "<config>/plotwell/PWSET.INI".
    std::string GlobalSettingsPath() const;
    // The project folder of a first start: "Plotwell" in the user's documents.
    static std::string DefaultHomeDir();
    // Sets OpenType for the items of the Open As menu and runs Open.
    void OpenAs(plotwell::workspace::WaveFileType type);
    void SetFileType(plotwell::workspace::WaveFileType type);

    // ---- Plotdesk_project.cpp -----------------------------------------------------
    bool ReadGlobalSettings();
    void WriteGlobalSettings();
    // Reads the project: paths, windows, settings, caption. False when the settings failed.
    bool ReadProject();
    // Writes the project settings file; false, after telling the user, when it failed.
    bool WriteProject();
    // Creates the empty marker file of the project.
    void WriteNewProjectFile();
    void ResetProjectSetup();
    void NewProject1Click();
    void OpenProject1Click();
    // Leaves the current project before another is read: every window's close query, the
    // project's settings file, then the windows close. False, with nothing changed, when a
    // window stayed open. The settings file is written here and not only at exit, or the
    // transfer settings and the window list of the project left would be lost.
    bool LeaveProject();
    void ShowProjectLoaded();

    // ---- Plotdesk_settings.cpp ----------------------------------------------------
    // Start-up step 6: pushes the settings into the transfer dialogs.
    void PushSettingsToDialogs();
    void Generatorsetup1Click();
    void Oscilloscopesetup1Click();
    void IOcontrol1Click();
    void RS232setup1Click();
    void ShowDownloadInfo() override;
    void ShowUploadInfo() override;
    // The two set-up commands: shows the dialog; OK takes its rows into the record, Cancel
    // leaves the record and the dialog's rows as they were.
    void TransferSetup(TSetTransfer& dialog, bool download);

    // ---- Plotdesk_status.cpp --------------------------------------------------------
    // `bitPattern`: whether the values are a bit pattern's (High/Low); -1 asks the active
    // waveform window.
    void ShowCursorInfo(const std::string& name, int start, bool normalised, int count, float startValue,
                        float endValue, int end, int bitPattern = -1) override;
    void ClearCursorInfo() override;
    // Places the status lines' labels so that none runs into another or past the frame.
    void FitStatusLabels();
    int FindSampleRange() override;

    // ---- Plotdesk_drivers.cpp --------------------------------------------------------
    // The operation drivers. Each acts on the window whose menu started the command (it
    // made that window CurrentWaveWindow) and shows its dialog modally around a snapshot.
    enum class Driver {
        Expression,
        Sine,
        Triangle,
        Square,
        Pulse,
        Cardiac,
        Sinc,
        Exponent,
        Gaussian,
        Noise,
        Harmonics,
        ScalarOp,
        MathOp,
        Paste,
        Adjust,
        Resize,
        Smooth,
        EditBitPattern
    };
    // Gives an empty window its first samples from the new-waveform set-up.
    void NewWaveformSetup() override;
    void ExpressionToWaveform();
    void SineToWaveform();
    void TriangleToWaveform();
    void SquareToWaveform();
    void PulseToWaveform();
    void CardiacToWaveform();
    void SincToWaveform();
    void ExponentToWaveform();
    void GaussianToWaveform();
    void NoiseToWaveform();
    void HarmonicsToWaveform();
    void ScalarOpToWaveform();
    void MathOpToWaveform();
    void PasteToWaveform();
    void AdjustWaveform();
    void ResizeWaveform();
    void SmoothWaveform();
    void NewBitPattern();
    void EditBitPattern();
    // The common driver: runs `driver`'s request with `dialog` (null, or a dialog that is
    // not an operation dialog yet, does nothing).
    void RunDriver(Driver driver, TOperationDialog* dialog);
    // The window a driver acts on: CurrentWaveWindow, else the active window.
    TWFMform* DriverTarget() const override;
    // The paste dialog's thumbnail of the paste buffer: a green trace on black.
    static void DrawPasteThumbnail(QImage& image, const plotwell::workspace::SampleStream& buffer);
    // The bit-pattern editor around a snapshot; `before` is the document a new-pattern
    // set-up replaced, which the editor's Cancel brings back.
    struct SavedDocument;
    void NewBitPatternWith(TOperationDialog* editor);
    void RunEditBitPattern(TOperationDialog* editor, const SavedDocument* before);

    // ---- Plotdesk_files.cpp ----------------------------------------------------------
    // After a part of a waveform was saved over its own file: `saved` (the active window when
    // null) goes from SaveState 2 to 1; with flag 1 every other window showing `name` with
    // FileIndex `index` is marked "(Overwritten)".
    void MarkOverwritten(const std::string& name, int flag, int index, TWFMform* saved = nullptr) override;
    // Fill `first` with the first channel of a data-logger file (.dta, .dac) and open one
    // window per further channel. False when the first two lines cannot be read.
    bool LoadZeloDtaChannels(TWFMform* first, std::string_view bytes, const std::string& name) override;
    bool LoadZeloDacChannels(TWFMform* first, std::string_view bytes, const std::string& name) override;

    // Start-up step 14: the project's expression library.
    void LoadExpressionLibrary();

    bool startupDone() const { return !FirstActivation; }

    // ---- Plotdesk_host.cpp ------------------------------------------------------------
    QWidget* FrameWidget() override;
    void ShowStatusNote(const std::string& text, int ms) override;
    plotwell::workspace::WaveCadForm DownloadWaveCadForm() const override;
    void SelectLimits(TWFMform& w) override;
    void UpdateTypeMenus(TWFMform& w) override;
    void UpdateZoomAreaItem(TWFMform& w) override;
    plotwell::transfer::TransferSettings& TransferRecord() override;
    TWFMform* UploadTarget(TWFMform* active) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The first geometry: the design size where the frame with its decorations fits the
    // screen's free area, centred on it. Qt knows the decorations only once the window
    // manager has framed the window, so the frame is fitted again then, once: at its first
    // move or activation that finds it framed, unless it has been moved or resized since.
    void FitToScreen();
    void FitToScreenWhenFramed();
    // A move or resize that the program asks for, or that the user makes on screen, takes
    // the place of the fit still to come.
    void KeepMovedOrResized(const QEvent& event);
    bool fitWhenFramed_ = true;
    // Where the last fit put the client area.
    QRect fitted_;
    void buildMenus();
    void buildPanels();
    void rebuildMenuBar();
    void fillWindowList();
    // Runs each waveform window's close query; false when one refused.
    bool QueryCloseAll();
    // Closes every waveform window whose close query has been answered.
    bool CloseQueriedWindows();

    std::vector<QMenu*> frameMenus_;
    QMenu* windowList_ = nullptr;
};

extern TPWForm1* PWForm1;
