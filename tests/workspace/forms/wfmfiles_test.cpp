#include "app_fixture.h"
#include "workspace/forms/op_test_dialog.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "transfer/forms/msgwnd.h"
#include "workspace/core/wave_files.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

#include <filesystem>
#include <sys/stat.h>

using plotwell::platform::Answer;
using plotwell::workspace::SampleStream;
using plotwell::workspace::WaveFileType;

namespace {

std::vector<uint16_t> codesOf(const TWFMform* w) {
    return {w->Doc.SampleStream->codes().begin(), w->Doc.SampleStream->codes().end()};
}

} // namespace

class FilesTest : public AppTest {
protected:
    // Opens `path` as `type` through the frame's Open, as the user would.
    TWFMform* open(const std::string& path, int type) {
        PWForm1->OpenType = WaveFileType(type);
        ui.chooseFile(path);
        PWForm1->Open1Click();
        return CurrentWaveWindow;
    }
    // Saves `w` with `type` through its Save As handling, choosing `path`.
    bool save(TWFMform* w, const std::string& path, int type) {
        PWForm1->SaveType = WaveFileType(type);
        ui.chooseFile(path);
        return w->Save1Click();
    }
};

TEST_F(FilesTest, OpenSetsCaptionTypeSelectionAndStatusNote) {
    const std::string path = tempFile("wave.wfm");
    writeFile(path, wfmBytes(2048, {0, 100, 4095}));
    TWFMform* w = open(path, 1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Caption(), "wave.wfm PlotWell");
    EXPECT_EQ(w->Doc.WaveName, path);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::Internal);
    EXPECT_EQ(w->Doc.SaveState, 0);
    EXPECT_EQ(w->Doc.SelectionStart, 0);
    EXPECT_EQ(w->Doc.SelectionEnd, 2);
    EXPECT_EQ(codesOf(w), (std::vector<uint16_t>{0, 100, 4095}));
    EXPECT_EQ(ui.count("message"), 0);
    auto* note = MessageWnd->findChild<QLabel*>("Panel1");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text().toStdString(), "Reading from file wave.wfm");
    EXPECT_TRUE(MessageWnd->isVisible());
}

TEST_F(FilesTest, MalformedOrMissingFilesReportUnableToRead) {
    const std::string bad = tempFile("bad.wfm");
    writeFile(bad, std::string("\0\0\1\0", 4)); // reference word 0
    TWFMform* w = open(bad, 1);
    EXPECT_EQ(ui.lastMessage(), "Unable to read from\n" + bad);
    EXPECT_EQ(w->Caption(), "bad.wfm PlotWell");
    EXPECT_LT(w->Doc.PointCount(), 1);
    ui.clear();
    const std::string missing = tempFile("none.wfm");
    w = open(missing, 1);
    EXPECT_EQ(ui.lastMessage(), "Unable to read from\n" + missing);
    EXPECT_EQ(w->Caption(), "none.wfm PlotWell");
    // A reader that fails keeps what it read, all of it selected.
    ui.clear();
    const std::string asc = tempFile("part.asc");
    writeFile(asc, "-2048,0,x");
    w = open(asc, 3);
    EXPECT_EQ(ui.lastMessage(), "Unable to read from\n" + asc);
    EXPECT_EQ(w->Doc.PointCount(), 2);
    EXPECT_EQ(w->Doc.SelectionEnd, 1);
}

TEST_F(FilesTest, RealTektronixFileOfTooManyPointsIsRefused) {
    const auto data = std::filesystem::path(__FILE__).parent_path() / "../../data/isf";
    const std::string big = (data / "scope-ch1-1250000pts-bytnr1-two-records.isf").string();
    open(big, 9);
    EXPECT_EQ(ui.lastMessage(), "Unable to read from\n" + big);
    ui.clear();
    TWFMform* w = open((data / "scope-math-envelope-10000pts.isf").string(), 9);
    EXPECT_EQ(ui.count("message"), 0);
    EXPECT_EQ(w->Doc.PointCount(), 10000);
    EXPECT_EQ(w->Caption(), "scope-math-envelope-10000pts.isf Tektronix");
}

TEST_F(FilesTest, SaveDialogIsSetUpPerType) {
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<SampleStream>(2048, 4, 2048);
    w->Doc.SelectionEnd = 3;
    PWForm1->WavesDir = "/w/WAVES/";
    PWForm1->WaveCadDir = "/w/WAVECAD/";
    PWForm1->TdsDir = "/w/TDS/";
    PWForm1->PatternsDir = "/w/PATTERNS/";
    PWForm1->Gs2020Dir = "/w/GS2020/";
    PWForm1->ZeloDir = "/w/ZELO/";
    struct Row {
        int type;
        const char* ext;
        const char* filter;
        const char* dir;
        const char* title;
    };
    const Row rows[] = {
        {1, "wfm", "Plotwell *.wfm files|*.wfm", "/w/WAVES/", "Save to a Plotwell file"},
        {2, "wav", "WaveCAD *.wav files|*.wav", "/w/WAVECAD/", "Save to a WaveCAD file"},
        {3, "asc", "WaveCAD *.asc files|*.asc", "/w/WAVECAD/", "Save to a WaveCAD file"},
        {4, "nrm", "Normalised *.nrm files|*.nrm", "/w/WAVES/", "Save to a Normalised file"},
        {5, "sig", "GS2020 *.sig files|*.sig", "/w/GS2020/", "Save to a GS2020 file"},
        {6, "asc", "GS2020 *.asc files|*.asc", "/w/GS2020/", "Save to a GS2020 file"},
        {7, "arb", "GS2020 *.arb files|*.arb", "/w/GS2020/", "Save to a GS2020 file"},
        {9, "isf", "Tektronix *.isf files|*.isf", "/w/TDS/", "Save to a Tektronix TDS file"},
        {13, "ptn", "Plotwell Bit Pattern files *.ptn files|*.ptn", "/w/PATTERNS/",
         "Save to a Bit Pattern file"},
        // No format of their own: saved as the own format.
        {11, "dac", "ZELO *.dac files|*.dac", "/w/ZELO/", "Save to a ZELO file"},
        {0, "wfm", "Plotwell *.wfm files|*.wfm", "/w/WAVES/", "Save to a Plotwell file"},
        {8, "wfm", "Plotwell *.wfm files|*.wfm", "/w/WAVES/", "Save to a Plotwell file"},
        {12, "wfm", "Plotwell *.wfm files|*.wfm", "/w/WAVES/", "Save to a Plotwell file"},
    };
    for (const Row& r : rows) {
        w->SaveFileDialog.fileName = "stale";
        PWForm1->SaveType = WaveFileType(r.type);
        ui.chooseFile(std::nullopt);
        PWForm1->SaveCancelled = false;
        EXPECT_FALSE(w->Save1Click());
        ASSERT_FALSE(ui.fileDialogs().empty());
        const auto& d = ui.fileDialogs().back();
        EXPECT_EQ(d.defaultExt, r.ext) << r.type;
        EXPECT_EQ(d.filter, r.filter) << r.type;
        EXPECT_EQ(d.initialDir, r.dir) << r.type;
        EXPECT_EQ(d.title, r.title) << r.type;
        EXPECT_EQ(d.fileName, "") << r.type;
        EXPECT_TRUE(PWForm1->SaveCancelled);
        EXPECT_EQ(PWForm1->SaveType, PWForm1->GlobalFileType);
    }
}

TEST_F(FilesTest, TypeTenIsRefusedBeforeTheDialog) {
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<SampleStream>(2048, 4, 2048);
    PWForm1->SaveType = WaveFileType::ZeloDta;
    EXPECT_FALSE(w->Save1Click());
    EXPECT_EQ(ui.lastMessage(), "Waveforms cannot be saved to ZELO *.dta log files");
    EXPECT_EQ(ui.count("save"), 0);
    EXPECT_EQ(PWForm1->SaveType, WaveFileType::ZeloDta); // the refusal leaves the type as it was
}

TEST_F(FilesTest, WholeSaveOfAModifiedWindowReloadsTheStoredForm) {
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<SampleStream>(2048, 3000, 4095);
    w->Doc.SelectionEnd = 2999;
    w->Doc.SaveState = 1;
    w->SetCaption("New Sine (Not Stored) (Modified)");
    const std::string path = tempFile("sq.isf");
    ASSERT_TRUE(save(w, path, 9));
    EXPECT_EQ(ui.count("message"), 0);
    EXPECT_EQ(w->Doc.SaveState, 0);
    EXPECT_EQ(w->Caption(), "sq.isf Tektronix");
    EXPECT_EQ(w->Doc.WaveName, path);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::Tektronix);
    EXPECT_EQ(w->Doc.PointCount(), 1000); // the window now holds what the file holds
    EXPECT_EQ(w->Doc.SampleStream->reference(), 128);
    EXPECT_EQ(w->WrittenReference, 128);
    EXPECT_EQ(PWForm1->OpenType, WaveFileType::Tektronix);
    EXPECT_EQ(PWForm1->SaveType, PWForm1->GlobalFileType);
    EXPECT_EQ(PWForm1->OpenFileDialog.fileName, path);
}

TEST_F(FilesTest, WholeSaveOfAnUnmodifiedWindowChangesNothing) {
    const std::string path = tempFile("a.wfm");
    writeFile(path, wfmBytes(2048, {1, 2, 3}));
    TWFMform* w = open(path, 1);
    const std::string other = tempFile("b.nrm");
    ASSERT_TRUE(save(w, other, 4));
    EXPECT_EQ(readFile(other), "-0.99951\r\n-0.99902\r\n-0.99854\r\n");
    auto* note = MessageWnd->findChild<QLabel*>("Panel1");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text().toStdString(), "Saving to file b.nrm");
    EXPECT_EQ(w->Caption(), "a.wfm PlotWell");
    EXPECT_EQ(w->Doc.WaveName, path);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::Internal);
    EXPECT_EQ(w->Doc.SaveState, 0);
}

TEST_F(FilesTest, PartSavedOverItsOwnFileMarksBothWindowsOverwritten) {
    const std::string path = tempFile("shared.wfm");
    writeFile(path, wfmBytes(2048, {10, 20, 30, 40}));
    TWFMform* a = open(path, 1);
    TWFMform* b = open(path, 1);
    TWFMform* other = open(path, 1);
    other->Doc.FileIndex = 2; // another waveform of a multi-waveform file stays as it is
    a->Doc.SelectionStart = 1;
    a->Doc.SelectionEnd = 2;
    ASSERT_TRUE(save(a, path, 1));
    EXPECT_EQ(readFile(path), wfmBytes(2048, {20, 30}));
    for (TWFMform* w : {a, b}) {
        EXPECT_EQ(w->Caption(), "shared.wfm (Overwritten)");
        EXPECT_EQ(w->Doc.SaveState, 1);
        EXPECT_EQ(w->Doc.FileType, WaveFileType::NotFromFile);
    }
    EXPECT_EQ(codesOf(a), (std::vector<uint16_t>{10, 20, 30, 40})); // the window keeps its data
    EXPECT_EQ(other->Caption(), "shared.wfm PlotWell");
    EXPECT_EQ(other->Doc.SaveState, 0);
}

TEST_F(FilesTest, PartSavedElsewhereOrFromAModifiedWindowKeepsTheState) {
    const std::string path = tempFile("p.wfm");
    writeFile(path, wfmBytes(2048, {10, 20, 30, 40}));
    TWFMform* w = open(path, 1);
    w->Doc.SelectionEnd = 1;
    ASSERT_TRUE(save(w, tempFile("q.wfm"), 1));
    EXPECT_EQ(w->Caption(), "p.wfm PlotWell");
    EXPECT_EQ(w->Doc.SaveState, 0);
    w->Doc.SaveState = 1;
    ASSERT_TRUE(save(w, path, 1));
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_EQ(w->Caption(), "p.wfm PlotWell");
}

TEST_F(FilesTest, FailedSavesLeaveTheExistingFileUntouched) {
    const std::string path = tempFile("keep.sig");
    const std::string precious = "precious bytes";
    writeFile(path, precious);
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<SampleStream>(2048, 8, 100);
    w->Doc.SelectionEnd = 7;
    w->Doc.SaveState = 1;
    for (int type : {5, 7, 11}) {
        ui.clear();
        EXPECT_FALSE(save(w, path, type)) << type;
        EXPECT_EQ(ui.lastMessage(), "Unable to write waveform data to\n" + path);
        EXPECT_EQ(readFile(path), precious);
        EXPECT_EQ(w->Doc.SaveState, 1);
    }
    // An empty window writes nothing either.
    TWFMform* empty = newWindow();
    ui.clear();
    EXPECT_FALSE(save(empty, path, 1));
    EXPECT_EQ(ui.lastMessage(), "Unable to write waveform data to\n" + path);
    EXPECT_EQ(readFile(path), precious);
    // A side file that cannot be written fails the save and keeps the old waveform file.
    const std::string wfm = tempFile("keep.wfm");
    writeFile(wfm, precious);
    std::filesystem::create_directory(wfm + ".pwi"); // a folder in the side file's place
    w->Doc.GenerationHistory = {{"0", "7", "1", "0", "0", "sin(t)"}};
    ui.clear();
    EXPECT_FALSE(save(w, wfm, 1));
    EXPECT_EQ(ui.lastMessage(), "Unable to write waveform data to\n" + wfm);
    EXPECT_EQ(readFile(wfm), precious);
    // No temporary file is left behind.
    for (const auto& e : std::filesystem::directory_iterator(tempDir())) {
        const std::string f = e.path().filename().string();
        EXPECT_TRUE(f == "keep.sig" || f == "keep.wfm" || f == "keep.wfm.pwi") << f;
    }
}

TEST_F(FilesTest, HistorySideFileIsWrittenAndReadBack) {
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<SampleStream>(2048, 8, 100);
    w->Doc.SelectionEnd = 7;
    w->Doc.SaveState = 1;
    const std::string longExpr = std::string(1100, 'x') + " + sin(t * 2)";
    w->Doc.GenerationHistory = {{"0", "7", "2048.00", "0.00", "1", "amp * sin(omg * t)"},
                                {"2", "5", "10.00", "-3.00", "0", longExpr}};
    const std::string path = tempFile("h.wfm");
    ASSERT_TRUE(save(w, path, 1));
    EXPECT_EQ(readFile(path + ".pwi"),
              "0 7 2048.00 0.00 1 amp * sin(omg * t)\r\n2 5 10.00 -3.00 0 " + longExpr + "\r\n");
    // The reload after the save read it back, replacing the history.
    ASSERT_EQ(w->Doc.HistoryCount(), 2);
    EXPECT_EQ(w->Doc.GenerationHistory[0].expression, "amp * sin(omg * t)");
    EXPECT_EQ(w->Doc.GenerationHistory[1].expression, longExpr);
    TWFMform* again = open(path, 1);
    EXPECT_EQ(again->Doc.HistoryCount(), 2);
    EXPECT_EQ(again->Doc.GenerationHistory[1].offset, "-3.00");
}

TEST_F(FilesTest, NoHistoryWritesNoSideFileButAStaleOneIsReadBack) {
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<SampleStream>(2048, 2, 100);
    w->Doc.SelectionEnd = 1;
    const std::string path = tempFile("n.wfm");
    ASSERT_TRUE(save(w, path, 1));
    EXPECT_FALSE(std::filesystem::exists(path + ".pwi"));
    writeFile(path + ".pwi", "0 1 2 3 0 stale one\r\n");
    TWFMform* r = open(path, 1);
    EXPECT_EQ(r->Doc.HistoryCount(), 1);
    EXPECT_EQ(r->Doc.GenerationHistory.front().expression, "stale one");
}

TEST_F(FilesTest, BitPatternSavesInvertedAndReopensAsAPattern) {
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<SampleStream>(32768, 3, 0);
    w->Doc.SampleStream->setCode(1, 65535);
    w->Doc.SelectionEnd = 2;
    w->Doc.FileType = WaveFileType::BitPattern;
    w->Doc.IsBitPattern = 1;
    PWForm1->SaveType = WaveFileType::Internal; // a bit pattern always saves as one
    const std::string path = tempFile("bits.ptn");
    ui.chooseFile(path);
    ASSERT_TRUE(w->Save1Click());
    EXPECT_EQ(readFile(path), std::string("\x00\x80\x00\x80\xFF\x7F\x00\x80", 8));
    EXPECT_EQ(w->Doc.SaveState, 0);
    EXPECT_EQ(w->Doc.FileType, WaveFileType::BitPattern);
    EXPECT_EQ(w->Caption(), "bits.ptn PlotWell Bit Pattern");
    EXPECT_EQ(codesOf(w), (std::vector<uint16_t>{0, 65535, 0}));
    TWFMform* r = open(path, 13);
    EXPECT_EQ(r->Doc.IsBitPattern, 1);
    EXPECT_EQ(r->Doc.FileType, WaveFileType::BitPattern);
    EXPECT_EQ(codesOf(r), (std::vector<uint16_t>{0, 65535, 0}));
}

TEST_F(FilesTest, SaveAsItemsSetTheTypeAndSave) {
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<SampleStream>(2048, 2, 2048);
    w->Doc.SelectionEnd = 1;
    QMenu* saveAs = PWForm1->WaveMenus->SaveAs1;
    ASSERT_NE(saveAs, nullptr);
    QStringList texts;
    for (QAction* a : saveAs->actions())
        texts << a->objectName() + "=" + a->text();
    EXPECT_EQ(texts.join("|").toStdString(),
              "SaveNormalised=Normalised    *.nrm|SaveInternal=Internal           *.wfm|"
              "SaveWaveCADwav=WaveCAD       *.wav|SaveWaveCADasc=WaveCAD       *.asc|"
              "SaveTektronix=Tektronix        *.isf|BitPatternbpn1=Bit Pattern      *.ptn");
    EXPECT_FALSE(saveAs->actions()[4]->isEnabled());
    const std::string path = tempFile("w.asc");
    ui.chooseFile(path);
    saveAs->actions()[3]->trigger();
    EXPECT_EQ(ui.fileDialogs().back().title, "Save to a WaveCAD file");
    EXPECT_EQ(readFile(path), "0,0");
    EXPECT_EQ(PWForm1->SaveType, PWForm1->GlobalFileType);
}

TEST_F(FilesTest, CloseQuestionKeepsTheWindowWhenTheSaveFailsOrIsCancelled) {
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<SampleStream>(2048, 2, 2048);
    w->Doc.SelectionEnd = 1;
    w->Doc.SaveState = 1;
    PWForm1->SaveType = PWForm1->GlobalFileType = WaveFileType::Gs2020Sig; // a type without a writer
    ui.answer(Answer::Yes);
    ui.chooseFile(tempFile("x.sig"));
    EXPECT_FALSE(w->FormCloseQuery());
    EXPECT_EQ(ui.lastMessage(), "Unable to write waveform data to\n" + tempFile("x.sig"));
    PWForm1->SaveType = PWForm1->GlobalFileType = WaveFileType::Internal;
    ui.answer(Answer::Yes);
    ui.chooseFile(std::nullopt);
    EXPECT_FALSE(w->FormCloseQuery());
    EXPECT_TRUE(PWForm1->SaveCancelled);
    EXPECT_EQ(w->Doc.SaveState, 1);
    ui.answer(Answer::Yes);
    ui.chooseFile(tempFile("x.wfm"));
    EXPECT_TRUE(w->FormCloseQuery());
}

TEST_F(FilesTest, DataLoggerChannelsOpenAsWindows) {
    const std::string path = tempFile("log.dta");
    writeFile(path, "0\t1\t0\r\n-2048\t5\t2047\r\n0\t6\t0\r\n");
    open(path, 10);
    const auto windows = PWForm1->WaveWindows();
    ASSERT_EQ(windows.size(), 3u);
    TWFMform* first = windows[0];
    EXPECT_EQ(first->Doc.FileType, WaveFileType::ZeloDta);
    EXPECT_EQ(first->Caption(), "log.dta ZELO:CH1");
    EXPECT_EQ(first->Doc.SelectionEnd, 1);
    EXPECT_EQ(codesOf(first), (std::vector<uint16_t>{0, 2048}));
    EXPECT_EQ(windows[1]->Doc.FileType, WaveFileType::FurtherChannel);
    EXPECT_EQ(windows[1]->Doc.UnsignedDisplay, 1);
    EXPECT_EQ(windows[1]->Caption(), "log.dta ZELO:CH2");
    EXPECT_EQ(windows[1]->Doc.WaveName, path);
    EXPECT_EQ(windows[2]->Doc.FileType, WaveFileType::FurtherChannel);
    EXPECT_EQ(windows[2]->Doc.UnsignedDisplay, 0);
    EXPECT_EQ(CurrentWaveWindow, windows[2]);
    EXPECT_EQ(ui.count("message"), 0);
}

TEST_F(FilesTest, DacChannelsCarryTheirIndexAndBadFilesFail) {
    const std::string path = tempFile("log.dac");
    std::string text = "3\t0\t2\r\n";
    for (int i = 0; i < 4; ++i)
        text += "-5\t1\t4500\r\n";
    writeFile(path, text);
    open(path, 11);
    const auto windows = PWForm1->WaveWindows();
    ASSERT_EQ(windows.size(), 2u);
    TWFMform* first = windows[0];
    EXPECT_EQ(first->Doc.FileType, WaveFileType::ZeloDac);
    EXPECT_EQ(first->Doc.FileIndex, 1);
    EXPECT_EQ(first->Doc.UnsignedDisplay, 1);
    EXPECT_EQ(first->Doc.PointCount(), 3);
    EXPECT_EQ(windows[1]->Caption(), "log.dac ZELO:CH3");
    EXPECT_EQ(windows[1]->Doc.FileIndex, 3);
    EXPECT_EQ(codesOf(windows[1]), (std::vector<uint16_t>{3999, 3999}));
    const std::string bad = tempFile("one.dac");
    writeFile(bad, "3\r\n");
    open(bad, 11);
    EXPECT_EQ(ui.lastMessage(), "Unable to read from\n" + bad);
}

TEST_F(FilesTest, WriteInternalAndResampleSelectionForTransfers) {
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<SampleStream>(8192, 4, 0);
    for (int i = 0; i < 4; ++i)
        w->Doc.SampleStream->setCode(std::size_t(i), uint16_t(i + 1));
    w->Doc.SelectionStart = 1;
    w->Doc.SelectionEnd = 2;
    const std::string path = tempFile("CARD.WFM");
    ASSERT_TRUE(w->WriteInternal(path));
    EXPECT_EQ(readFile(path), wfmBytes(8192, {2, 3}));
    std::vector<uint16_t> out;
    ASSERT_TRUE(w->ResampleSelection(0, 4, 2, out));
    EXPECT_EQ(out, (std::vector<uint16_t>{1, 3}));
    EXPECT_FALSE(w->ResampleSelection(3, 2, 2, out));
    TWFMform* empty = newWindow();
    EXPECT_FALSE(empty->WriteInternal(path));
    EXPECT_EQ(readFile(path), wfmBytes(8192, {2, 3}));
}

TEST_F(FilesTest, DacChannelSavedWholeReloadsAsAnOrdinaryWaveform) {
    const std::string path = tempFile("ch.dac");
    writeFile(path, "3\t3\r\n10\t1\r\n20\t2\r\n30\t3\r\n");
    open(path, 11);
    TWFMform* ch2 = PWForm1->WaveWindows().at(1);
    ASSERT_EQ(ch2->Doc.FileIndex, 2);
    EXPECT_EQ(ch2->Doc.SampleStream->reference(), 2000);
    ch2->Doc.SaveState = 1;
    const std::string wfm = tempFile("ch2.wfm");
    ASSERT_TRUE(save(ch2, wfm, 1));
    EXPECT_EQ(readFile(wfm), wfmBytes(2000, {1, 2, 3}));
    // The reload makes it a window of its own file: no channel index, signed display.
    EXPECT_EQ(ch2->Caption(), "ch2.wfm PlotWell");
    EXPECT_EQ(ch2->Doc.FileType, WaveFileType::Internal);
    EXPECT_EQ(ch2->Doc.FileIndex, 0);
    EXPECT_EQ(ch2->Doc.UnsignedDisplay, 0);
    EXPECT_EQ(ch2->Doc.SaveState, 0);
    EXPECT_EQ(PWForm1->WaveWindows().at(0)->Caption(), "ch.dac ZELO:CH1");
}

TEST_F(FilesTest, SpecialAndOversizedFilesAreRefusedAsEveryTypeWithoutWaiting) {
    const std::string fifo = tempFile("pipe.wfm");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Larger than any type's largest file, yet taking no room on the disk.
    const std::string huge = tempFile("huge.wfm");
    writeFile(huge, "");
    std::filesystem::resize_file(huge, std::uintmax_t(4) << 30);
    for (const std::string& path : {fifo, huge, std::string("/dev/zero")}) {
        for (int type = 1; type <= 13; ++type) {
            if (type == 12)
                continue; // Open only notes a CSV file's name for the import dialog
            SCOPED_TRACE(path + " as " + std::to_string(type));
            ui.clear();
            TWFMform* w = open(path, type);
            EXPECT_EQ(ui.lastMessage(), "Unable to read from\n" + path);
            EXPECT_LT(w->Doc.PointCount(), 1);
        }
    }
}

TEST_F(FilesTest, ASideFileThatIsAFifoGivesTheWaveformWithoutHistory) {
    const std::string path = tempFile("good.wfm");
    writeFile(path, wfmBytes(2048, {1, 2, 3}));
    ASSERT_EQ(::mkfifo((path + ".pwi").c_str(), 0600), 0);
    TWFMform* w = open(path, 1);
    EXPECT_EQ(codesOf(w), (std::vector<uint16_t>{1, 2, 3}));
    EXPECT_EQ(w->Doc.HistoryCount(), 0);
    EXPECT_TRUE(ui.messages().empty());
}

// The 10-bit WaveCAD forms (1024 points) are those of the generators with 1024-point
// numbered stores: the download instrument is known by its make and model rows, so it is
// the Wavetek 29 that takes them and no model whose text merely looks alike.
TEST_F(FilesTest, TenBitWaveCadFormsFollowTheDownloadInstrument) {
    struct Case {
        int make, model;
        const char* text; // the record's model text
        bool tenBit;
    } cases[] = {
        {0, 1, "QV3030/A", true}, {2, 0, "271", true},       {3, 1, "29", true},  {0, 7, "QV7351A", false},
        {0, 0, "QVA3460", false}, {2, 2, "29x", false},      {3, 0, "39", false}, {1, 11, "TDS7xx", false},
        {0, 7, "QV3030", false},  {0, 7, "model 29", false},
    };
    TWFMform* w = newWindow(
        4096, 2048, [](int i) { return uint16_t(i); }, "ramp");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto& s = PWForm1->TransferSettings;
        s.dlMakeIndex = c.make, s.dlModelIndex = c.model, s.dlModel = c.text;
        const std::string wav = tempFile("w.wav"), asc = tempFile("w.asc");
        ASSERT_TRUE(save(w, wav, 2));
        ASSERT_TRUE(save(w, asc, 3));
        ASSERT_EQ(w->Doc.SampleStream->count(), 4096); // the window keeps its own samples
        const std::string values = readFile(asc);
        EXPECT_EQ(readFile(wav).size(), c.tenBit ? 2048u : 8192u);
        EXPECT_EQ(std::count(values.begin(), values.end(), ',') + 1, c.tenBit ? 1024 : 4096);
        EXPECT_EQ(values.substr(0, values.find(',')), c.tenBit ? "-512" : "-2048");
        EXPECT_EQ(w->WrittenReference, c.tenBit ? 512 : 2048);
    }
}
