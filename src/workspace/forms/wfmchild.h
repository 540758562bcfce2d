#pragma once
// A waveform window: an MDI child of the frame holding one waveform document (its samples,
// name, file type, selection, save state and generation history) and drawing its graph.
//
// Its operations live in several units by subject:
//   wfmchild.cpp        document, creation, captions, close query and close
//   wfmfiles.cpp        load and save (LoadFromFile, Save1Click, SaveToFile)
//   wfmview.cpp         paint, resize, cursors, selection and status
//   wfmedit.cpp         the window's own menu commands
//   wfmzoom.cpp         the zoom band, Zoom out and Zoom full, and the overview window's part
//   wfmdraw.cpp         draw mode: freehand strokes, the rubber line, Undo and Finish

#include "platform/ui.h"
#include "workspace/core/plot_layout.h"
#include "workspace/core/sample_stream.h"
#include "workspace/core/wave_document.h"
#include "workspace/core/zoom.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QMdiSubWindow;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QPushButton;
class QTimer;
namespace plotwell::platform {
class Canvas;
}
namespace plotwell::workspace {
struct DrawMapping;
struct GraphInput;
} // namespace plotwell::workspace

class TWFMform : public QWidget {
    Q_OBJECT
public:
    using SampleStreamType = plotwell::workspace::SampleStream;

    // Creates the window through the framework (owner the frame); runs FormCreate.
    explicit TWFMform(QWidget* owner = nullptr);
    ~TWFMform() override;

    // ---- view geometry (painting, cursors) ------------------------------------------
    int32_t MarginLeft = 40, MarginRight = 15, MarginBottom = 20, MarginTop = 15;
    int32_t AxisMax = 0, AxisMin = 0;
    int32_t Dragging = 0;
    float GridCellHeight = 0, GridCellWidth = 0;
    int32_t PlotHeight = 0, PlotWidth = 0;
    int32_t DragGrabOffset = 0, DragStartX = 0;
    uint16_t WrittenReference = 0;
    // ---- drawing and zoom ---------------------------------------------------------
    uint8_t MouseHeld = 0;
    std::array<int32_t, 4> ZoomRect{};
    std::array<int32_t, 4> StrokePoints{};
    std::array<int32_t, 5> StrokeSpan{};
    uint8_t StrokeDrawn = 0;
    int32_t MaxPoints = 0;
    int32_t Reference = 0;
    uint8_t SuppressStatus = 0;
    uint8_t Zoomed = 0, StrokeOpen = 0, DrawMode = 0, RubberLineShown = 0, AxisLabelsShown = 0;
    int32_t ViewMin = 0, ViewMax = 0, ViewFirst = -1, ViewLast = 0;
    std::array<int32_t, 4> SavedView{0, 0, -1, 0}; // min, max, first, last
    // ---- document -------------------------------------------------------------------
    // The waveform this window shows: samples, name, file type, selection, save state,
    // flags and generation history.
    plotwell::workspace::WaveDocument Doc;
    std::string SpareName;
    std::string ClipTextStream;
    std::unique_ptr<SampleStreamType> UndoStream;
    int32_t TransferState = 0;
    int32_t MarkerAmplitude = 0, MarkerOffset = 0;
    std::string InstrumentName; // at most 256 characters
    int32_t PointsSent = 0;
    uint8_t SpareFlag = 0;
    int32_t ShadeStartX = 0, ShadeEndX = 0;
    // Binary downloads are assembled here; allocated when a download needs it.
    std::vector<uint8_t> BlockBuffer;

    // The 10 ms transfer timer; the transfer session (TTransferSession) stops it.
    QTimer* ioTimer = nullptr;

    // ---- wfmchild.cpp ---------------------------------------------------------------
    void FormCreate();
    // The window's caption (its text).
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // Appends " (Modified)" to the caption unless it is there.
    void MarkModified();
    // Closes the window (close query, then close). True when it closed.
    bool Close1Click();
    // The close query has been answered already; the next close skips it once.
    void CloseQueried() { closeQueried_ = true; }
    // The close query; false keeps the window open.
    bool FormCloseQuery();
    // The save question of the close query, asked whatever the frame is doing.
    bool AskToSave();
    // Asks whether to save the unsaved data before they go. Yes saves the whole waveform,
    // whatever part is selected, and puts the selection back when no file was written.
    // True when the data may go: No, or Yes and the file written.
    bool OfferToSave();
    // The close has run: the window is on its way out and holds no samples.
    bool isClosed() const { return closed_; }
    bool closeQueried() const { return closeQueried_; }
    void FormClose();
    QMdiSubWindow* subWindow() const;

    // The window's own File items that only call the frame.
    void New1Click();
    void Open1Click();
    void Exit1Click();
    void OpenInternalClick();
    void OpenNormalisedClick();
    void OpenWaveCADwavClick();
    void OpenWaveCADascClick();
    void OpenTektronixClick();
    void TypeInternalClick();
    void TypeNormalisedClick();
    void TypeWaveCADwavClick();
    void TypeWaveCADascClick();
    void TypeTektronixClick();

    // ---- wfmfiles.cpp ---------------------------------------------------------------
    // Replaces the samples by the contents of a file, by the frame's OpenType.
    void LoadFromFile(const std::string& fileName);
    // Saves the selection with the frame's SaveType. True when the data were written.
    bool Save1Click();
    // Writes the selection (and the history side file) with the frame's SaveType; reports a
    // failure. The file is replaced only when everything could be written.
    bool SaveToFile(const std::string& fileName);
    // The Save As items: each sets the frame's SaveType and runs Save1Click.
    void SaveInternalClick();
    void SaveWaveCADwavClick();
    void SaveWaveCADascClick();
    void SaveNormalisedClick();
    void SaveTektronixClick();
    void BitPatternbpn1Click();
    // The own-format writer of the memory-card transfer: the reference word and the
    // selected samples, replacing the file. False when nothing could be written.
    bool WriteInternal(const std::string& fileName);
    // Appends `newCount` codes made from the `count` samples at `start` to `out`
    // (workspace/core/resample.h). False, appending nothing, for a run outside the samples.
    bool ResampleSelection(int32_t start, int32_t count, int32_t newCount, std::vector<uint16_t>& out) const;
    // The save dialog keeps its state between saves.
    plotwell::platform::FileDialogState SaveFileDialog;

    // ---- wfmview.cpp ----------------------------------------------------------------
    // The window's pixels: paintEvent only shows them; the graph is rendered into them
    // afresh whenever the window is invalidated, and the selection shading is toggled in
    // them directly (not-XOR), so drawing a column again removes it.
    QImage Surface;
    // 12 x 12 cursor images at the top of the plot: the dim ones take the mouse, the bright
    // ones stand in for them while they are dragged.
    QLabel* dimStartCursorImage = nullptr;
    QLabel* dimEndCursorImage = nullptr;
    QLabel* StartCursorImage = nullptr;
    QLabel* EndCursorImage = nullptr;
    static constexpr int CursorImageSize = 12;
    // The View > Zoom area item's state for this window (the frame's one item shows the
    // active window's state).
    bool ZoomAreaEnabled = false;

    // The font of the axis labels.
    QFont AxisLabelFont() const;
    // The smallest pixel size the axis labels and the draw-mode read-out are shrunk to.
    static constexpr int SmallestLabelPixels = 6;
    // Renders the whole graph into the surface now (nothing while a cursor is dragged).
    void FormPaint();
    void FormResize();
    void FormActivate();
    void FormDeactivate();
    void PublishStatus();
    void Selectall1Click();
    void Selectlimits1Click();
    // Brings the selection within the data and moves the shading to the cursors; with
    // `placeImages` the dim cursor images are placed and shown (and the shading restarts
    // from the plot edges, as after a fresh background).
    void DrawSelectionShading(bool placeImages);
    // What a paint leaves behind, for the places that need it before Qt gets to paint:
    // the layout fields for the client size, the selection within 0..N-1 (end first, then
    // a start after the end moves down to it), and the Zoom area item's state.
    void ComputeLayout();
    void UpdateZoomArea();
    plotwell::workspace::PlotLayout Layout() const;
    // What the graph shows: the samples and the view (a paint, the picture, the printout).
    plotwell::workspace::GraphInput GraphData() const;
    plotwell::workspace::CursorSpan CursorSpan() const;
    // Cursor image handlers; x is the pointer's x relative to the dim image.
    void dimStartCursorImageMouseDown(Qt::MouseButton button, int x);
    void dimStartCursorImageMouseMove(int x);
    void dimStartCursorImageMouseUp();
    void dimEndCursorImageMouseDown(Qt::MouseButton button, int x);
    void dimEndCursorImageMouseMove(int x);
    void dimEndCursorImageMouseUp();
    // Creates the cursor images (from the constructor).
    void CreateViewControls();

    // ---- wfmedit.cpp ----------------------------------------------------------------
    void UpdateTypeMenus();
    // Ends a pending rubber line of draw mode.
    void EndPendingLine();
    // Amplitude to max peak, Amplitude to max pk-pk, Clear.
    void Verticaltomax1Click();
    void Amplitudetomaxpkpk1Click();
    void Clear1Click();
    // Changed samples: a stored window gets " (Modified)" and becomes unsaved.
    void MarkSamplesChanged();
    // After the point count changed: the view kept within the data and the selection brought
    // within the points.
    void LengthChanged();

    // ---- wfmzoom.cpp ----------------------------------------------------------------
    void ZoomAreaClick();
    void ZoomoutClick();
    void ZoomAllClick();
    // The view shown while zoomed and usable; nullopt shows the whole waveform.
    std::optional<plotwell::workspace::View> ZoomedView() const;
    // Zooms to `v` (which the caller has kept within the data).
    void SetView(const plotwell::workspace::View& v);
    // After the samples changed length: the view is kept within the data, and with fewer
    // than 100 points left the whole waveform shows.
    void ClampViewToData();
    // The overview window shows this window's view (caption, shown, repainted).
    void ShowOverview();
    // Repaints the overview when it shows this window zoomed.
    void RefreshOverview();
    // After the samples changed: the window is repainted, and the overview too when the
    // window is zoomed. ShowChangedSamples also publishes the values at the cursors.
    void RepaintWithOverview();
    void ShowChangedSamples();
    // The window's pointer is the crosshair of Zoom area: a band may start in draw mode.
    bool ZoomAreaPointer() const;
    // The band's handlers; false when no band is held (the event is someone else's).
    bool BandStart(int x, int y);
    bool BandMove(int x, int y);
    bool BandEnd();

    // ---- wfmdraw.cpp ----------------------------------------------------------------
    QPushButton* UndoDraw = nullptr;
    QPushButton* FinishDraw = nullptr;
    QLabel* Coordinates = nullptr;
    void Draw1Click();
    void UndoDrawClick();
    void FinishDrawClick();
    // Creates the three draw-mode controls, hidden (from the constructor).
    void CreateDrawControls();
    // Places the draw-mode controls for the client height (the resize).
    void PlaceDrawControls();
    // Shows the read-out with `text` at the size of the font that holds it.
    void showCoordinates(const QString& text);
    // The window's mouse, shared by the zoom band and drawing; coordinates are the client's.
    void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void FormMouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
    void FormMouseUp(Qt::MouseButton button, int x, int y);

    // ---- wfmclip.cpp ----------------------------------------------------------------
    // The selection's numbers, the graph's picture and the window's image to the clipboard.
    // False (after its message) when the window has no data.
    bool Copy1Click();
    // Copies, removes the selection and asks to confirm; Cancel puts the points back.
    void Cuttoclipboard1Click();
    // A new waveform from the clipboard's numbers, in an empty window.
    void PasteFromClipboard();
    // The graph as the clipboard's vector picture.
    QByteArray PictureSvg();

    // ---- wfmprint.cpp ---------------------------------------------------------------
    // Sets up the printer (landscape first) and prints the graph on one page.
    void Print1Click();
    // Prints on a printer already set up; false, after a message, when it could not.
    bool PrintTo(QPrinter& printer);

    static constexpr const char* DefaultWaveName = "Untitled";

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // wfmview.cpp: a right-button press outside draw mode opens Select limits.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool closeQueried_ = false;
    bool closed_ = false;
    // wfmview.cpp: parts of the surface already up to date for the next paintEvent.
    QRegion surfaceCurrent_;
    void renderSurface();
    void shadeOn(plotwell::platform::Canvas& canvas, bool placeImages);
    void showSurface(const QRect& r);
    void cursorDown(bool end, Qt::MouseButton button, int x);
    void cursorMove(bool end, int x);
    void cursorUp(bool end);
    // The panel as an empty window shows it: the name, and zeros.
    void showEmptyStatus();
    // XOR pictures on the surface (the band, the rubber line) are drawn again after the
    // graph is rendered afresh, so that the next XOR still removes them.
    void drawOverlays(plotwell::platform::Canvas& canvas);
    // wfmprint.cpp: the graph on a page, in the page's pixels.
    void paintPage(QPainter& p, QPagedPaintDevice& page);
    // Each draws its picture in XOR onto `onto`, or onto the surface and shows it.
    void xorBand(plotwell::platform::Canvas* onto = nullptr);
    void xorRubberLine(plotwell::platform::Canvas* onto = nullptr);
    void xorPolyline(plotwell::platform::Canvas* onto, uint32_t color, std::initializer_list<QPoint> points);
    plotwell::workspace::DrawMapping drawMapping() const;
    void repaintWithOverview();
    void strokeDown(Qt::KeyboardModifiers modifiers, int x, int y);
    void strokeMove(Qt::KeyboardModifiers modifiers, int x, int y);
    void strokeUp(int x, int y);
};
