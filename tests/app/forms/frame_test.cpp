#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/appforms.h"
#include "platform/form.h"
#include "platform/qt_ui.h"
#include "workspace/forms/WorldView.h"
#include "workspace/forms/wfmchild.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <utility>

QT_BEGIN_NAMESPACE
void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.width() << "x" << r.height() << " at (" << r.x() << ", " << r.y() << ")";
}
void PrintTo(const QSize& s, std::ostream* os) {
    *os << s.width() << "x" << s.height();
}
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

using plotwell::CreatedFormClasses;
using plotwell::workspace::WaveFileType;

TEST_F(AppTest, FormsAreCreatedOnceInOrder) {
    const std::vector<std::string> expected = {
        "TPWForm1",   "TIntroForm1", "TMessageWnd",     "TSelectDialog",   "TSetDownload",  "TSetUpload",
        "TSetRS232",  "TVertForm",   "TZELOSaveDialog", "TAskCloseAllDlg", "TSetTekRef",    "TExpressionForm",
        "TWaveSetup", "TSineForm",   "TTriangleForm",   "TSquareForm",     "TPulseForm",    "TSincForm",
        "TExpForm",   "TGaussForm",  "TNoiseForm",      "TLibraryForm",    "TAskNameForm",  "TScalaropdlg",
        "TMathopdlg", "TResizeForm", "TSmoothForm",     "TWorld",          "TPasteOptions", "TExpPregress",
        "TImportCSV", "TCSVProcess", "TCardiacForm",    "TBitPatternForm", "THarmonicsForm"};
    EXPECT_EQ(CreatedFormClasses(), expected);
    EXPECT_TRUE(PWForm1->WaveWindows().empty());
}

TEST_F(AppTest, NewGivesAnEmptyUntitledWindow) {
    TWFMform* w = newWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Caption(), "Untitled");
    EXPECT_EQ(w->Doc.WaveName, "Untitled");
    ASSERT_TRUE(w->Doc.SampleStream);
    EXPECT_LT(w->Doc.PointCount(), 1);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::None);
    EXPECT_EQ(w->Doc.SaveState, 0);
    EXPECT_EQ(w->ViewFirst, -1);
    EXPECT_EQ(w->SavedView[2], -1);
    EXPECT_EQ(w->width(), 274);
    EXPECT_EQ(w->height(), 211);
    EXPECT_EQ(PWForm1->WaveWindows().size(), 1u);
}

#include "transfer/forms/msgwnd.h"
#include "workspace/forms/IntroForm.h"
#include "workspace/forms/askclall.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <filesystem>

using plotwell::platform::Answer;

namespace {
// A window holding `points` codes of a 12-bit waveform.
TWFMform* windowWithData(TWFMform* w, int points, int saveState) {
    w->Doc.SampleStream = std::make_unique<plotwell::workspace::SampleStream>(2048, points, 2048);
    w->Doc.SelectionStart = 0;
    w->Doc.SelectionEnd = points - 1;
    w->Doc.SaveState = saveState;
    w->Doc.FileType = WaveFileType::Internal;
    return w;
}
} // namespace

TEST_F(AppTest, FileTypeItemsSetTheDefaultTypeAndLabel) {
    EXPECT_EQ(PWForm1->FileFormat->text().toStdString(), "   Default File Type:   Plotwell (*.wfm files)");
    PWForm1->OpenFileDialog.fileName = "left over";
    PWForm1->TypeNormalisedClick();
    EXPECT_EQ(PWForm1->FileFormat->text().toStdString(), "   Default File Type:   Normalised (*.nrm files)");
    EXPECT_EQ(PWForm1->GlobalFileType, WaveFileType::Normalised);
    EXPECT_EQ(PWForm1->OpenType, WaveFileType::Normalised);
    EXPECT_EQ(PWForm1->SaveType, WaveFileType::Normalised);
    EXPECT_EQ(PWForm1->OpenFileDialog.fileName, "");
    const std::vector<std::pair<void (TPWForm1::*)(), std::string>> items = {
        {&TPWForm1::TypeInternalClick, "Plotwell (*.wfm files)"},
        {&TPWForm1::TypeWaveCADwavClick, "WaveCAD (*.wav files)"},
        {&TPWForm1::TypeWaveCADascClick, "WaveCAD (*.asc files)"},
        {&TPWForm1::TypeTektronixClick, "Tektronix TDS (*.isf files)"},
    };
    for (const auto& [item, text] : items) {
        (PWForm1->*item)();
        EXPECT_EQ(PWForm1->FileFormat->text().toStdString(), "   Default File Type:   " + text);
    }
}

TEST_F(AppTest, OpenDialogIsPreparedForEachType) {
    struct Row {
        void (TPWForm1::*item)();
        const char* ext;
        const char* filter;
        std::string dir;
        const char* title;
    };
    const std::vector<Row> rows = {
        {&TPWForm1::OpenInternalClick, "wfm", "Plotwell *.wfm files|*.wfm|All Files *.*|*.*",
         PWForm1->WavesDir, "Open a Plotwell file"},
        {&TPWForm1::OpenWaveCADwavClick, "wav", "WaveCAD *.wav files|*.wav|All Files *.*|*.*",
         PWForm1->WaveCadDir, "Open a WaveCAD file"},
        {&TPWForm1::OpenWaveCADascClick, "asc", "WaveCAD *.asc files|*.asc|All Files *.*|*.*",
         PWForm1->WaveCadDir, "Open a WaveCAD file"},
        {&TPWForm1::OpenNormalisedClick, "nrm", "Normalised *.nrm files|*.nrm|All Files *.*|*.*",
         PWForm1->WavesDir, "Open a Normalised file"},
        {&TPWForm1::OpenTektronixClick, "isf", "Tektronix *.isf files|*.isf", PWForm1->TdsDir,
         "Open a Tektronix TDS file"},
        {&TPWForm1::BitPatternptn1Click, "ptn", "Plotwell Bit Pattern files *.ptn files|*.ptn",
         PWForm1->PatternsDir, "Open a Plotwell Bit Pattern file"},
    };
    for (const auto& row : rows) {
        ui.clear();
        PWForm1->OpenFileDialog.fileName = "stale.xyz";
        ui.chooseFile(std::nullopt); // the user cancels
        (PWForm1->*row.item)();
        ASSERT_EQ(ui.fileDialogs().size(), 1u) << row.title;
        const auto& d = ui.fileDialogs().front();
        EXPECT_EQ(d.defaultExt, row.ext);
        EXPECT_EQ(d.filter, row.filter);
        EXPECT_EQ(d.initialDir, row.dir);
        EXPECT_EQ(d.title, row.title);
        EXPECT_EQ(d.fileName, "") << "Open As empties the file name";
        // A cancelled Open leaves no window and resets the one-shot type.
        EXPECT_TRUE(PWForm1->WaveWindows().empty());
        EXPECT_EQ(PWForm1->OpenType, PWForm1->GlobalFileType);
        EXPECT_EQ(PWForm1->SaveType, PWForm1->GlobalFileType);
    }
    EXPECT_FALSE(PWForm1->WavesDir.empty());
}

TEST_F(AppTest, OpenForCsvKeepsTheNameAndType) {
    PWForm1->OpenType = WaveFileType::Csv;
    ui.chooseFile(std::string("/tmp/data.csv"));
    PWForm1->Open1Click();
    const auto& d = ui.fileDialogs().front();
    EXPECT_EQ(d.title, "Open a CSV file");
    EXPECT_EQ(d.filter, "Comma Separated Values *.csv files|*.csv|All Files *.*|*.*");
    EXPECT_EQ(PWForm1->CsvFilePath, "/tmp/data.csv");
    EXPECT_EQ(PWForm1->CsvFileName, "/tmp/data.csv");
    EXPECT_EQ(PWForm1->OpenType, WaveFileType::Csv) << "stays until the import dialog has been shown";
    EXPECT_TRUE(PWForm1->WaveWindows().empty());
}

TEST_F(AppTest, OpenOfAnotherTypeLeavesTheDialogAsItWas) {
    PWForm1->OpenInternalClick(); // prepares and is cancelled (no script)
    PWForm1->OpenType = WaveFileType::Gs2020Arb;
    PWForm1->Open1Click();
    ASSERT_EQ(ui.fileDialogs().size(), 2u);
    EXPECT_EQ(ui.fileDialogs()[1].title, "Open a Plotwell file");
    EXPECT_EQ(ui.fileDialogs()[1].defaultExt, "wfm");
}

TEST_F(AppTest, WindowMenuItemsNeedAWaveformWindow) {
    PWForm1->Window1Click();
    EXPECT_FALSE(PWForm1->Tile1->isEnabled());
    EXPECT_FALSE(PWForm1->Cascade1->isEnabled());
    EXPECT_FALSE(PWForm1->Arrangeicons1->isEnabled());
    newWindow();
    newWindow();
    PWForm1->Window1Click();
    EXPECT_TRUE(PWForm1->Tile1->isEnabled());
    EXPECT_TRUE(PWForm1->Cascade1->isEnabled());
    EXPECT_TRUE(PWForm1->Arrangeicons1->isEnabled());
    int listed = 0;
    for (QAction* a : PWForm1->Window1->actions())
        listed += a->property("windowEntry").toBool() && !a->isSeparator();
    EXPECT_EQ(listed, 2);
    PWForm1->Tile1Click();
    PWForm1->Cascade1Click();
    for (TWFMform* w : PWForm1->WaveWindows())
        w->Close1Click();
    processEvents();
    PWForm1->Window1Click();
    EXPECT_FALSE(PWForm1->Tile1->isEnabled());
}

TEST_F(AppTest, AWindowMadeOverAMaximisedOneComesUpMaximised) {
    const auto sub = [](TWFMform* w) { return w->subWindow(); };
    const auto make = [this](bool overMaximised) {
        TWFMform* first = newWindow();
        if (overMaximised)
            first->subWindow()->showMaximized();
        processEvents();
        TWFMform* second = newWindow();
        processEvents();
        return std::pair{first, second};
    };
    const QString title = PWForm1->windowTitle();
    // Where the first two windows of a cascade stand when nothing is maximised.
    const auto [plainFirst, plain] = make(false);
    const QRect firstPlace = sub(plainFirst)->geometry(), cascadePlace = sub(plain)->geometry();
    EXPECT_EQ(plain->size(), QSize(274, 211));
    EXPECT_GT(cascadePlace.top(), firstPlace.top());
    EXPECT_GT(cascadePlace.left(), firstPlace.left());
    plain->Close1Click();
    plainFirst->Close1Click();
    processEvents();
    ASSERT_TRUE(PWForm1->WaveWindows().empty());

    const auto [first, second] = make(true);
    QMdiArea* area = PWForm1->MdiArea;
    EXPECT_TRUE(sub(second)->isMaximized());
    EXPECT_EQ(area->currentSubWindow(), sub(second));
    EXPECT_EQ(sub(second)->geometry(), area->viewport()->rect()) << "it fills the workspace";
    EXPECT_EQ(second->size(), area->viewport()->size()) << "without a title bar of its own";
    EXPECT_EQ(PWForm1->windowTitle(), title + " - [Untitled]");
    EXPECT_FALSE(sub(first)->isMaximized());
    EXPECT_EQ(sub(first)->geometry(), firstPlace) << "the first window keeps its place underneath";

    sub(second)->showNormal();
    processEvents();
    EXPECT_EQ(sub(second)->geometry(), cascadePlace) << "restored: the form's size at its cascade place";
    EXPECT_EQ(second->size(), QSize(274, 211));
    EXPECT_EQ(PWForm1->windowTitle(), title);
    PWForm1->ActivateWaveWindow(first);
    processEvents();
    EXPECT_EQ(area->currentSubWindow(), sub(first));
    EXPECT_EQ(sub(first)->geometry(), firstPlace);
}

TEST_F(AppTest, FrameKeepsItsMinimumWidth) {
    // A user resizes the frame once it is on screen.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(PWForm1));
    PWForm1->resize(400, 600);
    processEvents();
    EXPECT_TRUE(QTest::qWaitFor([] { return PWForm1->width() == 550; })) << PWForm1->width();
}

TEST_F(AppTest, TheFrameOpensInsideTheScreensFreeArea) {
    // The design size where it fits: the offscreen screen is narrower than the design width,
    // and tall enough.
    const QRect free = PWForm1->screen()->availableGeometry();
    // A window manager frames the window some time after it is shown.
    EXPECT_TRUE(QTest::qWaitFor([&] { return free.contains(PWForm1->frameGeometry()); }));
    const QRect outer = PWForm1->frameGeometry();
    const QSize decorations = outer.size() - PWForm1->size();
    EXPECT_EQ(PWForm1->width(), std::min(1024, free.width() - decorations.width()));
    EXPECT_EQ(PWForm1->height(),
              std::min(730 + PWForm1->menuBar()->sizeHint().height(), free.height() - decorations.height()));
}

TEST_F(AppTest, HelpContentsAndAbout) {
    PWForm1->Contents1Click();
    ASSERT_EQ(ui.count("help"), 1);
    EXPECT_EQ(ui.events().back().text, "0");

    IntroForm1->Timer1Timer();
    EXPECT_FALSE(IntroForm1->isVisible());
    PWForm1->AboutPlotwell1Click();
    EXPECT_TRUE(IntroForm1->isVisible());
    EXPECT_FALSE(IntroForm1->ExitButton->isHidden());
    EXPECT_FALSE(IntroForm1->Timer1->isActive()) << "the about box stays until a click";
    IntroForm1->ExitButton->click();
    EXPECT_FALSE(IntroForm1->isVisible());
}

TEST_F(AppTest, SplashHidesAfterTwoSeconds) {
    // Looked at on a fresh start, before the event loop has run: the fixture's start-up
    // processes events, and on a loaded machine it may reach them after the two seconds.
    plotwell::DestroyApplicationForms();
    processEvents();
    plotwell::CreateApplicationForms();
    EXPECT_EQ(IntroForm1->Timer1->interval(), 2000);
    EXPECT_TRUE(IntroForm1->Timer1->isSingleShot());
    EXPECT_TRUE(IntroForm1->Timer1->isActive());
    EXPECT_FALSE(IntroForm1->Image1->pixmap().isNull()) << "the splash picture is decoded";
}

// ---- closing -------------------------------------------------------------------------

TEST_F(AppTest, ClosingAnUnmodifiedWindowAsksNothing) {
    windowWithData(newWindow(), 10, 0);
    EXPECT_TRUE(CurrentWaveWindow->Close1Click());
    processEvents();
    EXPECT_EQ(ui.count("message"), 0);
    EXPECT_TRUE(PWForm1->WaveWindows().empty());
}

TEST_F(AppTest, CloseQuestionCancelKeepsTheWindowNoClosesIt) {
    TWFMform* w = windowWithData(newWindow(), 10, 1);
    w->SetCaption("wave.wfm PlotWell (Modified)");
    ui.answer(Answer::Cancel);
    EXPECT_FALSE(w->Close1Click());
    EXPECT_EQ(ui.lastMessage(),
              "wave.wfm PlotWell (Modified).\nWaveform data not saved.\nDo you want to save it now?");
    EXPECT_EQ(ui.events().back().buttons, unsigned(plotwell::platform::ButtonsYesNoCancel));
    EXPECT_EQ(PWForm1->WaveWindows().size(), 1u);
    EXPECT_EQ(w->Doc.SaveState, 1);

    ui.answer(Answer::No);
    EXPECT_TRUE(w->Close1Click());
    processEvents();
    EXPECT_TRUE(PWForm1->WaveWindows().empty());
}

TEST_F(AppTest, ClosingAllWindowsOfAFileAsksOnlyForUnsavedOnes) {
    std::vector<TWFMform*> ws;
    for (int i = 0; i < 4; ++i) {
        TWFMform* w = windowWithData(newWindow(), 10, i == 0 ? 0 : 1);
        w->Doc.WaveName = "/data/log.dta";
        w->Doc.FileType = i == 0 ? WaveFileType::ZeloDta : WaveFileType::FurtherChannel;
        ws.push_back(w);
    }
    TWFMform* other = windowWithData(newWindow(), 10, 0);
    other->Doc.WaveName = "/data/other.wfm";

    // The user answers No for the closed window and keeps "Close all waveforms for this
    // file"; of the other unsaved channels one is let go (No) and one kept (Cancel).
    ui.answer(Answer::No);
    ui.onDialog([](QDialog& d) {
        auto& dlg = static_cast<TAskCloseAllDlg&>(d);
        EXPECT_EQ(dlg.windowTitle().toStdString(), "Multiple waveform file close");
        EXPECT_EQ(dlg.Label1->text().toStdString(), "File log.dta contains multiple waveforms");
        dlg.rbCloseAll->setChecked(true);
        dlg.bnOK->click();
    });
    ui.answer(Answer::No);
    ui.answer(Answer::Cancel);
    EXPECT_TRUE(ws[1]->Close1Click());
    processEvents();
    EXPECT_EQ(ui.count("message"), 3) << "the unmodified first channel closes unasked";
    EXPECT_EQ(ui.count("exec"), 1) << "the other channels do not ask which to close";
    const std::vector<TWFMform*> left = PWForm1->WaveWindows();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0], ws[3]);
    EXPECT_EQ(left[1], other);
    EXPECT_FALSE(PWForm1->ClosingNamed);
}

TEST_F(AppTest, ProjectSwitchClosesEveryChannelOfAFileOnce) {
    for (int i = 0; i < 3; ++i) {
        TWFMform* w = windowWithData(newWindow(), 10, 0);
        w->Doc.WaveName = "/data/log.dta";
        w->Doc.FileType = i == 0 ? WaveFileType::ZeloDta : WaveFileType::FurtherChannel;
    }
    ui.onDialog([](QDialog& d) {
        auto& dlg = static_cast<TAskCloseAllDlg&>(d);
        dlg.rbCloseAll->setChecked(true);
        dlg.bnOK->click();
    });
    EXPECT_TRUE(PWForm1->CloseAllWindows());
    EXPECT_EQ(ui.count("exec"), 1);
    EXPECT_TRUE(PWForm1->WaveWindows().empty());
}

TEST_F(AppTest, ClosingTheFirstChannelOnlyHandsItsTypeOn) {
    std::vector<TWFMform*> ws;
    for (int i = 0; i < 3; ++i) {
        TWFMform* w = windowWithData(newWindow(), 10, 0);
        w->Doc.WaveName = "/data/log.dac";
        w->Doc.FileType = i == 0 ? WaveFileType::ZeloDac : WaveFileType::FurtherChannel;
        ws.push_back(w);
    }
    ui.onDialog([](QDialog& d) {
        auto& dlg = static_cast<TAskCloseAllDlg&>(d);
        dlg.rbCloseThis->setChecked(true);
        dlg.bnOK->click();
    });
    EXPECT_TRUE(ws[0]->Close1Click());
    processEvents();
    ASSERT_EQ(PWForm1->WaveWindows().size(), 2u);
    EXPECT_EQ(ws[1]->Doc.FileType, WaveFileType::ZeloDac);
    EXPECT_EQ(ws[2]->Doc.FileType, WaveFileType::FurtherChannel);
    EXPECT_EQ(PWForm1->CloseName, "/data/log.dac");
    // The choice persists: closing the next one asks again and closes only itself.
    EXPECT_TRUE(AskCloseAllDlg->rbCloseThis->isChecked());
    EXPECT_TRUE(ws[1]->Close1Click());
    processEvents();
    EXPECT_EQ(ui.count("exec"), 2);
    EXPECT_EQ(ws[2]->Doc.FileType, WaveFileType::ZeloDac);
}

TEST_F(AppTest, ExitAsksEachUnsavedWindowAndCancelStopsIt) {
    windowWithData(newWindow(), 10, 1);
    windowWithData(newWindow(), 10, 0);
    windowWithData(newWindow(), 10, 1);
    std::filesystem::remove(PWForm1->ProjectIniPath);
    ui.answer(Answer::No);
    ui.answer(Answer::Cancel);
    EXPECT_FALSE(PWForm1->close());
    EXPECT_EQ(ui.count("message"), 2);
    EXPECT_EQ(PWForm1->WaveWindows().size(), 3u) << "only the queries run; nothing is closed";
    EXPECT_FALSE(std::filesystem::exists(PWForm1->ProjectIniPath)) << "nothing further happens";

    // Yes with a cancelled save dialog stops the exit as well.
    ui.clear();
    ui.answer(Answer::Yes);
    ui.chooseFile(std::nullopt);
    EXPECT_FALSE(PWForm1->close());
    EXPECT_FALSE(std::filesystem::exists(PWForm1->ProjectIniPath));

    ui.clear();
    ui.answer(Answer::No);
    ui.answer(Answer::No);
    EXPECT_TRUE(PWForm1->close());
    EXPECT_EQ(ui.count("message"), 2);
    EXPECT_TRUE(std::filesystem::exists(PWForm1->ProjectIniPath)) << "the project is written at exit";
}

// A save at exit shows its one-second note in the status window; the program still ends.
TEST_F(AppTest, ExitEndsTheProgramWhileASaveNoteShows) {
    windowWithData(newWindow(), 10, 1);
    ui.answer(Answer::Yes);
    ui.chooseFile(tempFile("kept.wfm"));
    QTimer::singleShot(0, [] { PWForm1->Exit1Click(); });
    EXPECT_EQ(runUntilExit(), 0);
    EXPECT_TRUE(std::filesystem::exists(tempFile("kept.wfm")));
    std::filesystem::remove(PWForm1->ProjectIniPath); // the next test starts without it
}

TEST_F(AppTest, OpenAsCsvShowsTheImportOnlyForAChosenFile) {
    PWForm1->TypeNormalisedClick();
    ui.chooseFile(std::nullopt);
    PWForm1->OpenCsvClick();
    EXPECT_EQ(ui.count("exec"), 0);
    EXPECT_EQ(PWForm1->OpenType, WaveFileType::Normalised);
    EXPECT_EQ(PWForm1->SaveType, WaveFileType::Normalised);

    const std::string csv = tempFile("data.csv");
    writeFile(csv, "1,2\n3,4\n");
    ui.chooseFile(csv);
    PWForm1->OpenCsvClick();
    EXPECT_EQ(PWForm1->CsvFileName, csv);
    EXPECT_EQ(PWForm1->OpenType, WaveFileType::Normalised) << "reset after the import dialog";
    EXPECT_EQ(PWForm1->SaveType, WaveFileType::Normalised);
}

TEST_F(AppTest, CloseAllWindowsStopsBeforeClosingAnythingWhenCancelled) {
    windowWithData(newWindow(), 10, 0);
    windowWithData(newWindow(), 10, 1);
    ui.answer(Answer::Cancel);
    EXPECT_FALSE(PWForm1->CloseAllWindows());
    EXPECT_EQ(PWForm1->WaveWindows().size(), 2u);
    ui.answer(Answer::No);
    EXPECT_TRUE(PWForm1->CloseAllWindows());
    EXPECT_TRUE(PWForm1->WaveWindows().empty());
}

// What the program asks of the window manager: dialogs and boxes without minimise and
// maximise buttons, the overview without any border icons.
TEST_F(AppTest, DialogsAndBoxesAskForNoMinimiseOrMaximiseButtons) {
    constexpr auto minMax = Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    const auto box = plotwell::platform::QtUi::makeMessageBox(
        plotwell::platform::kAppTitle, "Text", plotwell::platform::Icon::Error, plotwell::platform::ButtonOk);
    std::vector<const QWidget*> windows = {box.get()};
    for (const auto* form : QApplication::topLevelWidgets())
        if (qobject_cast<const plotwell::platform::Form*>(form))
            windows.push_back(form);
    EXPECT_EQ(windows.size(), CreatedFormClasses().size()) << "the frame is no dialog; the box is";
    for (const QWidget* w : windows)
        EXPECT_FALSE(w->windowFlags() & minMax) << w->metaObject()->className();
    EXPECT_TRUE(World->windowFlags() & Qt::CustomizeWindowHint);
    EXPECT_FALSE(World->windowFlags() & (minMax | Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
}
