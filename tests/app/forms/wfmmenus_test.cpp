// The waveform windows' menus: captions, shortcuts, enabling rules and the window's own
// commands (the two level commands and Clear).

#include "app_fixture.h"
#include "workspace/forms/op_test_dialog.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "workspace/core/wave_files.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>

#include <filesystem>
#include <fstream>
#include <iterator>

using plotwell::workspace::WaveFileType;

namespace {

class MenuTest : public AppTest {
protected:
    TWaveMenus* m() const { return PWForm1->WaveMenus; }
    static std::vector<std::string> captions(QMenu* menu) {
        std::vector<std::string> out;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                out.push_back(a->text().toStdString());
        return out;
    }
    static void open(QMenu* menu) { Q_EMIT menu->aboutToShow(); }
};

} // namespace

TEST_F(MenuTest, CaptionsAndShortcutsAreTheLayouts) {
    newWindow();
    const auto bar = PWForm1->menuBar()->actions();
    std::vector<std::string> titles;
    for (QAction* a : bar)
        titles.push_back(a->text().toStdString());
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Edit", "&View", "&Waveform", "&Maths",
                                                "&I/O control", "&Window", "&Help"}));
    EXPECT_EQ(captions(m()->File1),
              (std::vector<std::string>{"&New", "&Open...", "Open As...", "&Save...", "Save As...", "&Close",
                                        "C&lear", "New Pro&ject...", "Open &Project...", "File Type",
                                        "Print waveform...", "E&xit"}));
    EXPECT_EQ(captions(m()->SaveAs1),
              (std::vector<std::string>{"Normalised    *.nrm", "Internal           *.wfm",
                                        "WaveCAD       *.wav", "WaveCAD       *.asc",
                                        "Tektronix        *.isf", "Bit Pattern      *.ptn"}));
    EXPECT_FALSE(m()->SaveTektronix->isEnabled());
    EXPECT_EQ(captions(m()->Edit1),
              (std::vector<std::string>{"Cu&t to clipboard", "&Copy to clipboard", "&Paste from clipboard",
                                        "Select &All", "Select &Limits...", "&Vertical adjust...",
                                        "Amplitude to &max peak", "Amplitude to max pk-pk", "&Resize...",
                                        "&Smooth...", "Edit Bit Pattern..."}));
    EXPECT_EQ(captions(m()->View1), (std::vector<std::string>{"&Zoom full", "Zoom &out", "Zoom &area"}));
    EXPECT_EQ(captions(m()->Waveform1),
              (std::vector<std::string>{"&Sine...", "&Triangle...", "Square...", "&Pulse...", "Sin&c...",
                                        "E&xponent...", "&Gaussian...", "&Noise...", "Harmonics Generator",
                                        "Cardiac...", "Bit Pattern...", "&Expression...", "&Draw..."}));
    EXPECT_EQ(captions(m()->Maths1),
              (std::vector<std::string>{"Add &scalar..", "Multiply &by scalar...", "Waveform &add...",
                                        "Waveform s&ubtract...", "Waveform &multiply..."}));
    EXPECT_EQ(captions(m()->IOcontrol1),
              (std::vector<std::string>{"Execute &Upload", "Execute &Download", "U&pload setup...",
                                        "Do&wnload setup...", "&RS232 setup..."}));
    const std::vector<std::pair<QAction*, const char*>> keys = {
        {m()->New1, "Ctrl+N"},           {m()->Open1, "Ctrl+O"},
        {m()->Save1, "Ctrl+S"},          {m()->Print1, "Ctrl+P"},
        {m()->Cut1, "Ctrl+X"},           {m()->Copy1, "Ctrl+C"},
        {m()->Paste1, "Ctrl+V"},         {m()->Selectall1, "Ctrl+A"},
        {m()->Zoomfull1, "F4"},          {m()->Zoomout1, "F3"},
        {m()->Zoomarea1, "F2"},          {m()->Expression1, "Ctrl+E"},
        {m()->ExecuteUpload1, "Ctrl+U"}, {m()->ExecuteDownload1, "Ctrl+D"}};
    for (const auto& [action, key] : keys)
        EXPECT_EQ(action->shortcut(), QKeySequence(key)) << action->text().toStdString();
}

TEST_F(MenuTest, UpdateTypeMenusSwapsTheAnalogueItemsAgainstThePatternEditor) {
    TWFMform* w = newWindow();
    const std::vector<QAction*> analogue = {
        m()->Verticaladjust1,   m()->Verticaltomax1,    m()->Amplitudetomaxpkpk1,
        m()->Resize1,           m()->Smooth1,           m()->Addscalar1,
        m()->Multiplybyscalar1, m()->Waveformaddition1, m()->Waveformsubtraction1,
        m()->Waveformmultiply1};
    w->Doc.FileType = WaveFileType::BitPattern;
    w->UpdateTypeMenus();
    for (QAction* a : analogue)
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_TRUE(m()->EditBitPattern1->isEnabled());
    w->Doc.FileType = WaveFileType::Internal;
    w->UpdateTypeMenus();
    for (QAction* a : analogue)
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    EXPECT_FALSE(m()->EditBitPattern1->isEnabled());
}

TEST_F(MenuTest, MathsOffersTwoWaveformItemsOnlyWithAnotherWindow) {
    TWFMform* w = newWindow();
    giveData(w, 10);
    open(m()->Maths1);
    EXPECT_TRUE(m()->Addscalar1->isEnabled());
    EXPECT_TRUE(m()->Multiplybyscalar1->isEnabled());
    for (QAction* a : {m()->Waveformaddition1, m()->Waveformsubtraction1, m()->Waveformmultiply1})
        EXPECT_FALSE(a->isEnabled());
    newWindow();
    PWForm1->ActivateWaveWindow(w);
    open(m()->Maths1);
    for (QAction* a : {m()->Waveformaddition1, m()->Waveformsubtraction1, m()->Waveformmultiply1})
        EXPECT_TRUE(a->isEnabled());
    // A bit pattern has none of the five.
    w->Doc.FileType = WaveFileType::BitPattern;
    open(m()->Maths1);
    for (QAction* a : {m()->Addscalar1, m()->Multiplybyscalar1, m()->Waveformaddition1,
                       m()->Waveformsubtraction1, m()->Waveformmultiply1})
        EXPECT_FALSE(a->isEnabled());
}

TEST_F(MenuTest, PasteIsEnabledOnlyWithTextOnTheClipboard) {
    newWindow();
    QApplication::clipboard()->setText("1\n2\n");
    open(m()->Edit1);
    EXPECT_TRUE(m()->Paste1->isEnabled());
    QApplication::clipboard()->clear();
    open(m()->Edit1);
    EXPECT_FALSE(m()->Paste1->isEnabled());
}

TEST_F(MenuTest, IOControlLeavesRS232ToTheSettings) {
    newWindow();
    PWForm1->RS232setup1->setEnabled(true);
    open(m()->IOcontrol1);
    // The frame's own rule decides afterwards; the default settings use no COM port.
    EXPECT_FALSE(PWForm1->RS232setup1->isEnabled());
}

TEST_F(MenuTest, ACommandMakesItsWindowCurrent) {
    TWFMform* a = newWindow();
    TWFMform* b = newWindow();
    ASSERT_EQ(CurrentWaveWindow, b);
    PWForm1->ActivateWaveWindow(a);
    CurrentWaveWindow = b;
    giveData(a, 10, 100);
    m()->Verticaltomax1->trigger();
    EXPECT_EQ(CurrentWaveWindow, a);
    EXPECT_EQ(a->Doc.SampleStream->value(0), 2047);
}

TEST_F(MenuTest, LevelCommandsThroughTheMenu) {
    TWFMform* w = newWindow();
    giveData(w, 5, 0);
    const std::vector<int> values = {-100, 0, 100, 300, 50};
    for (size_t i = 0; i < values.size(); ++i)
        w->Doc.SampleStream->setCode(i, uint16_t(values[i] + 2048));
    w->Doc.SelectionStart = 0;
    w->Doc.SelectionEnd = 3;
    m()->Amplitudetomaxpkpk1->trigger();
    std::vector<int> got;
    for (int i = 0; i < 5; ++i)
        got.push_back(w->Doc.SampleStream->value(size_t(i)));
    EXPECT_EQ(got, (std::vector<int>{-2048, -1024, 0, 2047, 50})) << "only the selection changes";
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_EQ(w->Caption(), "/data/waves/wave.wfm (Modified)");
    m()->Verticaltomax1->trigger();
    EXPECT_EQ(w->Caption(), "/data/waves/wave.wfm (Modified)") << "marked once";
}

TEST_F(MenuTest, LevelCommandsOnFlatAndEmptyWindows) {
    TWFMform* w = newWindow();
    m()->Verticaltomax1->trigger(); // an empty window: nothing happens
    m()->Amplitudetomaxpkpk1->trigger();
    EXPECT_EQ(w->Caption(), "Untitled");
    giveData(w, 4, 0);
    m()->Verticaltomax1->trigger();
    EXPECT_EQ(w->Doc.SampleStream->value(0), 0);
    EXPECT_EQ(w->Doc.SaveState, 0) << "a zero selection is left as it is and unmarked";
    giveData(w, 4, 700);
    m()->Amplitudetomaxpkpk1->trigger();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w->Doc.SampleStream->value(size_t(i)), 0);
    EXPECT_EQ(w->Doc.SaveState, 1);
}

TEST_F(MenuTest, ClearEmptiesTheWindowAfterTheAnswer) {
    TWFMform* w = newWindow();
    giveData(w, 10);
    w->Doc.SaveState = 1;
    // Cancel keeps everything.
    ui.answer(plotwell::platform::Answer::Cancel);
    m()->Clear1->trigger();
    EXPECT_EQ(ui.lastMessage(),
              "/data/waves/wave.wfm.\nWaveform data not saved.\nDo you want to save it now?");
    EXPECT_EQ(w->Doc.PointCount(), 10);
    // Yes with a save that did not write keeps everything too.
    ui.answer(plotwell::platform::Answer::Yes);
    ui.chooseFile(std::nullopt);
    m()->Clear1->trigger();
    EXPECT_EQ(w->Doc.PointCount(), 10);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::Internal);
    // No clears.
    w->Doc.UnsignedDisplay = 1;
    w->Doc.IsBitPattern = 1;
    w->Zoomed = 1;
    ui.answer(plotwell::platform::Answer::No);
    m()->Clear1->trigger();
    EXPECT_EQ(w->Caption(), "Untitled");
    EXPECT_EQ(w->Doc.WaveName, "Untitled");
    EXPECT_LT(w->Doc.PointCount(), 1);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::None);
    EXPECT_EQ(w->Doc.SaveState, 0);
    EXPECT_EQ(w->Doc.UnsignedDisplay, 0);
    EXPECT_EQ(w->Doc.IsBitPattern, 0);
    EXPECT_EQ(w->Zoomed, 0);
    // A stored window is cleared without a question.
    giveData(w, 10);
    ui.clear();
    m()->Clear1->trigger();
    EXPECT_EQ(ui.count("message"), 0);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::None);
}

TEST_F(MenuTest, GeneratorItemsAskForAWaveformAndUpdateTheMenus) {
    TWFMform* w = newWindow();
    w->Doc.PatternRequest = 1;
    w->Doc.FileType = WaveFileType::None;
    m()->EditBitPattern1->setEnabled(true);
    // The sine dialog is not an operation dialog yet: the item only resets the request
    // and suits the menus to the window.
    m()->Sine1->trigger();
    EXPECT_EQ(w->Doc.PatternRequest, 0);
    EXPECT_FALSE(m()->EditBitPattern1->isEnabled());
    m()->BitPattern1->trigger();
    EXPECT_EQ(w->Doc.PatternRequest, 1);
}

TEST_F(MenuTest, ClearAnsweredYesSavesTheWholeWaveformFirst) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("plotwell_clear_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TWFMform* w = newWindow();
    giveData(w, 10, 5);
    w->Doc.SaveState = 1;
    w->Doc.SelectionStart = 2;
    w->Doc.SelectionEnd = 4;
    // A write that fails keeps the data and the selection.
    ui.answer(plotwell::platform::Answer::Yes);
    ui.chooseFile((dir / "missing" / "kept.wfm").string());
    m()->Clear1->trigger();
    EXPECT_EQ(w->Doc.PointCount(), 10);
    EXPECT_EQ(w->Doc.SelectionStart, 2);
    EXPECT_EQ(w->Doc.SelectionEnd, 4);
    // A written save holds every point, whatever was selected; then the window is cleared.
    const fs::path file = dir / "cleared.wfm";
    ui.answer(plotwell::platform::Answer::Yes);
    ui.chooseFile(file.string());
    m()->Clear1->trigger();
    EXPECT_EQ(w->Doc.FileType, WaveFileType::None);
    EXPECT_LT(w->Doc.PointCount(), 1);
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    plotwell::workspace::SampleStream saved;
    ASSERT_TRUE(plotwell::workspace::ReadInternal(bytes, saved));
    EXPECT_EQ(saved.count(), 10);
    EXPECT_EQ(saved.value(9), 5);
    fs::remove_all(dir);
}
