// Start-up and shut-down with the settings files, and New and Open Project, driven as a
// user would: the program is started, used, closed and started again within one test.

#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/appforms.h"
#include "app/core/settings_files.h"
#include "platform/posix/folders.h"
#include "synthesis/forms/expression.h"
#include "transfer/core/transfer_settings.h"
#include "workspace/forms/wfmchild.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;
using plotwell::platform::Answer;
using plotwell::transfer::TransferSettings;
using namespace plotwell::workspace;
using namespace plotwell::app;

namespace {

TransferSettings defaultSettings() {
    TransferSettings s;
    plotwell::transfer::applyTransferDefaults(s);
    return s;
}

// A .wfm file: the reference word, then one code per point, little-endian.
std::string wfmBytes(uint16_t reference, int points) {
    std::string b;
    auto put = [&b](uint16_t w) {
        b += char(w & 0xff);
        b += char(w >> 8);
    };
    put(reference);
    for (int i = 0; i < points; ++i)
        put(uint16_t((i * 37) % (2 * reference)));
    return b;
}

std::string caption() {
    return PWForm1->windowTitle().toStdString();
}

} // namespace

class ProjectTest : public AppTest {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        AppTest::SetUp();
    }
    // The next test in this process starts as on a fresh machine again.
    void TearDown() override {
        AppTest::TearDown();
        wipeConfiguration();
    }
    void wipeConfiguration() {
        std::error_code ec;
        fs::remove_all(plotwell::platform::configDir(), ec);
        fs::remove_all(home() + "/Documents", ec);
    }

    std::string home() const { return std::getenv("HOME"); }
    std::string projectHome() const { return home() + "/Documents/Plotwell"; }
    std::string globalFile() const { return plotwell::platform::configDir() + "/plotwell/PWSET.INI"; }

    void startApp() {
        plotwell::CreateApplicationForms();
        PWForm1->show();
        PWForm1->FormActivate();
        processEvents();
    }
    void stopApp() {
        plotwell::DestroyApplicationForms();
        processEvents();
    }
    // File > Exit, then the program ends.
    void exitApp() {
        PWForm1->Exit1Click();
        processEvents();
        stopApp();
    }
    // A first start on a machine that has never run the program.
    void startFresh() {
        stopApp();
        wipeConfiguration();
        ui.clear();
        startApp();
    }

    TWFMform* openWfm(const std::string& path) {
        ui.chooseFile(path);
        PWForm1->Open1Click();
        return CurrentWaveWindow;
    }
    std::vector<TWFMform*> windows() const { return PWForm1->WaveWindows(); }
    static QLineEdit* exprLine() { return ExpressionForm->EdExpr; }

    // A project folder holding a marker and a settings file.
    std::string makeProject(const std::string& folder, const std::string& name, const std::string& ini) {
        fs::create_directories(folder);
        writeFile(folder + "/" + name + ".prj", "");
        if (!ini.empty())
            writeFile(folder + "/" + name + ".INI", ini);
        return folder + "/" + name + ".prj";
    }
};

TEST_F(ProjectTest, FirstStartWritesTheGlobalSettingsAndUsesTheDefaults) {
    startFresh();
    EXPECT_EQ(readFile(globalFile()), "HomeDir \"" + projectHome() + "\"\r\nPrjFile \"Default\"\r\n");
    EXPECT_EQ(PWForm1->HomeDir, projectHome());
    EXPECT_EQ(PWForm1->PrjFile, "Default");
    EXPECT_TRUE(fs::exists(projectHome() + "/Default.prj"));
    EXPECT_EQ(PWForm1->TransferSettings, defaultSettings());
    EXPECT_EQ(PWForm1->GlobalFileType, WaveFileType::Internal);
    EXPECT_EQ(PWForm1->OpenType, WaveFileType::Internal);
    EXPECT_EQ(PWForm1->SaveType, WaveFileType::Internal);
    EXPECT_EQ(caption(), "Quorvex Plotwell Plus - Default.prj");
    EXPECT_EQ(PWForm1->ProjectIniPath, projectHome() + "/Default.INI");
    EXPECT_EQ(PWForm1->WavesDir, projectHome() + "/WAVES/");
    EXPECT_EQ(PWForm1->FileFormat->text().toStdString(), "   Default File Type:   Plotwell (*.wfm files)");
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(windows().empty());

    // The exit writes the project; the next start finds the same settings.
    exitApp();
    const std::string ini = readFile(projectHome() + "/Default.INI");
    ProjectValues written;
    EXPECT_TRUE(readProjectSettings(ini, written).ok);
    EXPECT_EQ(written.TransferSettings, defaultSettings());
    startApp();
    EXPECT_EQ(PWForm1->HomeDir, projectHome());
    EXPECT_EQ(PWForm1->PrjFile, "Default");
    EXPECT_EQ(PWForm1->TransferSettings, defaultSettings());
    EXPECT_EQ(caption(), "Quorvex Plotwell Plus - Default.prj");
    EXPECT_EQ(readFile(globalFile()), "HomeDir \"" + projectHome() + "\"\r\nPrjFile \"Default\"\r\n");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ProjectTest, SettingsAndWindowsComeBackAfterARestart) {
    startFresh();
    const std::string dir = tempDir() + "/my waves";
    fs::create_directories(dir);
    writeFile(dir + "/first.wfm", wfmBytes(2048, 300));
    writeFile(dir + "/second wave.wfm", wfmBytes(32768, 1000));

    TWFMform* first = openWfm(dir + "/first.wfm");
    TWFMform* second = openWfm(dir + "/second wave.wfm");
    ASSERT_EQ(windows().size(), 2u);
    ASSERT_EQ(first->Doc.PointCount(), 300) << "needs the waveform file readers";
    first->Doc.SelectionStart = 10;
    first->Doc.SelectionEnd = 250;
    second->Doc.SelectionStart = 0;
    second->Doc.SelectionEnd = 7;
    second->Doc.ProjectValue = 42;

    PWForm1->TypeNormalisedClick();
    TransferSettings& s = PWForm1->TransferSettings;
    s.dlType = "Card/USB Memory";
    s.dlTypeIndex = 3;
    s.dlStretchIndex = 0;
    s.dlDriveLetterIndex = 1;
    s.dlDriveLetter = "/media/usb stick";
    s.dlAddress = "7";
    s.dlBaudRate = 3;
    s.dlByteSize = 7;
    s.dlParity = 2;
    s.dlStopBits = 2;
    s.dlFlowControl = 0;
    s.dlTCPPort = "5025";
    s.dlIPAddress = "10.1.2.3";
    s.ulAddress = "12";
    s.ulFlowControl = 1;
    s.ulIPAddress = "10.1.2.4";
    const TransferSettings changed = s;
    ASSERT_NE(exprLine(), nullptr);
    exprLine()->setText("amp*sin(omg*t) + 0.5*amp*sin(3*omg*t)");

    exitApp();
    startApp();

    const auto back = windows();
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0]->Doc.WaveName, dir + "/first.wfm");
    EXPECT_EQ(back[1]->Doc.WaveName, dir + "/second wave.wfm");
    EXPECT_EQ(back[0]->Doc.FileType, WaveFileType::Internal);
    EXPECT_EQ(back[0]->Doc.PointCount(), 300);
    EXPECT_EQ(back[0]->Doc.SelectionStart, 10);
    EXPECT_EQ(back[0]->Doc.SelectionEnd, 250);
    EXPECT_EQ(back[1]->Doc.SelectionStart, 0);
    EXPECT_EQ(back[1]->Doc.SelectionEnd, 7);
    EXPECT_EQ(back[1]->Doc.ProjectValue, 42);
    EXPECT_EQ(PWForm1->TransferSettings, changed);
    EXPECT_EQ(PWForm1->GlobalFileType, WaveFileType::Normalised);
    EXPECT_EQ(PWForm1->OpenType, WaveFileType::Normalised);
    EXPECT_EQ(PWForm1->SaveType, WaveFileType::Normalised);
    EXPECT_EQ(exprLine()->text().toStdString(), "amp*sin(omg*t) + 0.5*amp*sin(3*omg*t)");
    EXPECT_EQ(ExpressionForm->Expr->currentText().toStdString(), "amp*sin(omg*t) + 0.5*amp*sin(3*omg*t)");
    EXPECT_TRUE(ui.messages().empty()) << ui.lastMessage();
}

TEST_F(ProjectTest, SelectionsAreFittedToAFileThatShrank) {
    startFresh();
    writeFile(tempDir() + "/a.wfm", wfmBytes(2048, 100));
    writeFile(tempDir() + "/b.wfm", wfmBytes(2048, 100));
    ASSERT_EQ(openWfm(tempDir() + "/a.wfm")->Doc.PointCount(), 100) << "needs the waveform file readers";
    openWfm(tempDir() + "/b.wfm");
    windows()[0]->Doc.SelectionStart = 20;
    windows()[0]->Doc.SelectionEnd = 90;
    windows()[1]->Doc.SelectionStart = 60;
    windows()[1]->Doc.SelectionEnd = 70;
    exitApp();
    writeFile(tempDir() + "/a.wfm", wfmBytes(2048, 50));
    writeFile(tempDir() + "/b.wfm", wfmBytes(2048, 50));
    startApp();
    ASSERT_EQ(windows().size(), 2u);
    EXPECT_EQ(windows()[0]->Doc.SelectionStart, 20);
    EXPECT_EQ(windows()[0]->Doc.SelectionEnd, 49);
    EXPECT_EQ(windows()[1]->Doc.SelectionStart, 0);
    EXPECT_EQ(windows()[1]->Doc.SelectionEnd, 49);
}

TEST_F(ProjectTest, OnlyWindowsThatStandForTheirFileAreListed) {
    startFresh();
    newWindow(); // empty "Untitled": listed
    TWFMform* generated = newWindow();
    generated->Doc.WaveName = "New sine";
    generated->Doc.FileType = WaveFileType::Internal;
    generated->Doc.SampleStream = std::make_unique<SampleStream>(2048, 16);
    TWFMform* csv = newWindow();
    csv->Doc.WaveName = tempDir() + "/data.csv";
    csv->Doc.FileType = WaveFileType::BitPattern;
    TWFMform* pasted = newWindow();
    pasted->Doc.FileType = WaveFileType::NotFromFile;
    writeFile(tempDir() + "/two\nlines.wfm", wfmBytes(2048, 4));
    ASSERT_EQ(openWfm(tempDir() + "/two\nlines.wfm")->Doc.PointCount(), 4);
    ASSERT_TRUE(PWForm1->WriteProject());
    const std::string ini = readFile(projectHome() + "/Default.INI");
    EXPECT_EQ(ini.substr(0, ini.find("[SystemValues]")), "[OpenFiles]\r\n\"Untitled\" 0 0 0 0\r\n");
}

TEST_F(ProjectTest, AProjectFileThatCannotBeWrittenIsReported) {
    startFresh();
    // A folder where the file should be: the write fails and the folder stays as it was.
    fs::create_directories(projectHome() + "/Default.INI/kept");
    EXPECT_FALSE(PWForm1->WriteProject());
    EXPECT_EQ(ui.lastMessage(),
              "Unable to write to\n" + projectHome() + "/Default.INI\nConfiguration not saved");
    EXPECT_EQ(ui.events().back().icon, plotwell::platform::Icon::Error);
    EXPECT_EQ(ui.count("beep"), 0);
    EXPECT_TRUE(fs::is_directory(projectHome() + "/Default.INI/kept"));
    EXPECT_EQ(std::distance(fs::directory_iterator(projectHome()), fs::directory_iterator()), 2)
        << "no temporary file is left behind";
    // The program still ends.
    exitApp();
    startApp();
    EXPECT_EQ(PWForm1->TransferSettings, defaultSettings());
}

TEST_F(ProjectTest, AProjectWhoseFolderIsGoneIsReportedNotMadeAgain) {
    startFresh();
    exitApp();
    const std::string gone = home() + "/Documents/Unplugged";
    writeFile(globalFile(), "HomeDir \"" + gone + "\"\r\nPrjFile \"Bench\"\r\n");
    ui.clear();
    startApp();
    EXPECT_EQ(ui.lastMessage(), "Unable to write to\n" + gone + "/Bench.prj\nto save the setup information.");
    exitApp();
    EXPECT_EQ(ui.lastMessage(), "Unable to write to\n" + gone + "/Bench.INI\nConfiguration not saved");
    EXPECT_FALSE(fs::exists(gone));
}

TEST_F(ProjectTest, IncompleteProjectFileKeepsItsWindowsAndUsesTheDefaults) {
    startFresh();
    ProjectValues v;
    v.GlobalFileType = 4;
    plotwell::transfer::applyTransferDefaults(v.TransferSettings);
    v.TransferSettings.dlAddress = "9";
    v.TransferSettings.dlDriveLetter = "/mnt/card";
    std::string ini =
        formatProjectSettings({{"Untitled", 0, true, 0, 0, 0}, {"Untitled", 0, true, 0, 0, 0}}, v);
    ini = ini.substr(0, ini.find("dlDriveLetterIndex"));
    stopApp();
    writeFile(projectHome() + "/Default.INI", ini);
    startApp();
    EXPECT_EQ(windows().size(), 2u);
    EXPECT_EQ(PWForm1->GlobalFileType, WaveFileType::Internal);
    EXPECT_EQ(PWForm1->TransferSettings, defaultSettings());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ProjectTest, NewProjectCreatesItsFilesAndKeepsTheSettings) {
    startFresh();
    PWForm1->TransferSettings.dlAddress = "11";
    PWForm1->TypeWaveCADascClick();
    newWindow();
    const std::string folder = tempDir() + "/Bench 2";
    fs::create_directories(folder);
    const std::string chosen = folder + "/Second.prj";
    ui.chooseFile(chosen);
    PWForm1->NewProject1->trigger();

    ASSERT_EQ(ui.fileDialogs().size(), 1u);
    const auto& d = ui.fileDialogs()[0];
    EXPECT_EQ(ui.events()[0].kind, "save");
    EXPECT_EQ(d.title, "Create new project");
    EXPECT_EQ(d.defaultExt, "prj");
    EXPECT_EQ(d.filter, "Project files (*.prj)|*.prj");
    EXPECT_EQ(d.initialDir, projectHome());
    EXPECT_EQ(d.fileName, "");
    EXPECT_FALSE(d.overwritePrompt);

    // The project left behind was written first, with its window.
    const std::string oldIni = readFile(projectHome() + "/Default.INI");
    EXPECT_EQ(oldIni.substr(0, oldIni.find("[SystemValues]")), "[OpenFiles]\r\n\"Untitled\" 0 0 0 0\r\n");

    EXPECT_TRUE(windows().empty());
    EXPECT_TRUE(fs::is_directory(folder + "/WAVES"));
    EXPECT_TRUE(fs::exists(chosen));
    EXPECT_TRUE(fs::exists(folder + "/Second.LIB"));
    EXPECT_EQ(readFile(folder + "/Second.LIB"), "");
    EXPECT_EQ(readFile(globalFile()), "HomeDir \"" + folder + "\"\r\nPrjFile \"Second\"\r\n");
    EXPECT_EQ(caption(), "Quorvex Plotwell Plus - Second.prj");
    EXPECT_EQ(PWForm1->WavesDir, folder + "/WAVES/");
    EXPECT_EQ(PWForm1->WaveCadDir, folder + "/WAVECAD/");
    EXPECT_EQ(PWForm1->ZeloDir, folder + "/ZELO/");
    EXPECT_EQ(PWForm1->TransferSettings.dlAddress, "11");
    EXPECT_EQ(PWForm1->GlobalFileType, WaveFileType::WaveCadAsc);
    EXPECT_EQ(PWForm1->OpenType, WaveFileType::WaveCadAsc);
    EXPECT_TRUE(ui.messages().empty());

    // The new project is the one the next start opens, with the settings it was left with.
    exitApp();
    startApp();
    EXPECT_EQ(PWForm1->PrjFile, "Second");
    EXPECT_EQ(PWForm1->HomeDir, folder);
    EXPECT_EQ(PWForm1->TransferSettings.dlAddress, "11");
    EXPECT_EQ(PWForm1->GlobalFileType, WaveFileType::WaveCadAsc);
}

TEST_F(ProjectTest, NewProjectOverAnExistingOneIsRefused) {
    startFresh();
    newWindow();
    const std::string existing = makeProject(tempDir() + "/old", "Old", "");
    const std::string before = readFile(globalFile());
    ui.chooseFile(existing);
    PWForm1->NewProject1Click();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"The project\n" + existing + "\nalready exists"});
    EXPECT_EQ(ui.events().back().icon, plotwell::platform::Icon::Error);
    EXPECT_EQ(ui.events().back().buttons, unsigned(plotwell::platform::ButtonOk));
    EXPECT_EQ(windows().size(), 1u);
    EXPECT_EQ(caption(), "Quorvex Plotwell Plus - Default.prj");
    EXPECT_EQ(readFile(globalFile()), before);
    EXPECT_FALSE(fs::exists(tempDir() + "/old/WAVES"));
}

TEST_F(ProjectTest, CancelledSavePromptStopsTheSwitch) {
    startFresh();
    TWFMform* w = newWindow();
    w->Doc.SaveState = 1;
    const std::string before = readFile(globalFile());
    fs::create_directories(tempDir() + "/next");
    ui.chooseFile(tempDir() + "/next/Next.prj");
    ui.answer(Answer::Cancel);
    PWForm1->NewProject1Click();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "Untitled.\nWaveform data not saved.\nDo you want to save it now?");
    EXPECT_EQ(windows().size(), 1u);
    EXPECT_EQ(caption(), "Quorvex Plotwell Plus - Default.prj");
    EXPECT_EQ(readFile(globalFile()), before);
    EXPECT_FALSE(fs::exists(tempDir() + "/next/WAVES"));
    EXPECT_FALSE(fs::exists(tempDir() + "/next/Next.prj"));
    EXPECT_FALSE(fs::exists(projectHome() + "/Default.INI"));

    // The same for Open Project.
    const std::string other = makeProject(tempDir() + "/other", "Other", "");
    ui.chooseFile(other);
    ui.answer(Answer::Cancel);
    PWForm1->OpenProject1Click();
    EXPECT_EQ(windows().size(), 1u);
    EXPECT_EQ(PWForm1->PrjFile, "Default");
    EXPECT_EQ(readFile(globalFile()), before);
}

TEST_F(ProjectTest, OpenProjectReadsItsWindowsAndSettings) {
    startFresh();
    newWindow();
    ProjectValues v;
    v.GlobalFileType = 4;
    plotwell::transfer::applyTransferDefaults(v.TransferSettings);
    v.TransferSettings.ulType = "Card/USB Memory";
    v.TransferSettings.ulTypeIndex = 3;
    v.TransferSettings.ulDriveLetter = "/media/my card";
    v.exprn = "sin(t) * 2";
    const std::string folder = tempDir() + "/Lab Projects";
    const std::string prj = makeProject(
        folder, "Lab 1",
        formatProjectSettings({{"Untitled", 0, true, 0, 0, 0}, {"Untitled", 0, true, 0, 0, 0}}, v));
    ui.chooseFile(prj);
    PWForm1->OpenProject1->trigger();

    ASSERT_EQ(ui.fileDialogs().size(), 1u);
    EXPECT_EQ(ui.events()[0].kind, "open");
    EXPECT_EQ(ui.fileDialogs()[0].title, "Open project");
    EXPECT_EQ(ui.fileDialogs()[0].filter, "Project files (*.prj)|*.prj");
    EXPECT_EQ(ui.fileDialogs()[0].defaultExt, "prj");
    EXPECT_EQ(ui.fileDialogs()[0].initialDir, projectHome());
    EXPECT_TRUE(fs::exists(projectHome() + "/Default.INI")) << "the project left is written first";

    EXPECT_EQ(windows().size(), 2u);
    EXPECT_EQ(PWForm1->TransferSettings, v.TransferSettings);
    EXPECT_EQ(PWForm1->GlobalFileType, WaveFileType::Normalised);
    EXPECT_EQ(PWForm1->OpenType, WaveFileType::Normalised)
        << "the next Open uses the project's type, not the last window's";
    EXPECT_EQ(PWForm1->SaveType, WaveFileType::Normalised);
    EXPECT_EQ(PWForm1->FileFormat->text().toStdString(), "   Default File Type:   Normalised (*.nrm files)");
    EXPECT_EQ(caption(), "Quorvex Plotwell Plus - Lab 1.prj");
    EXPECT_EQ(readFile(globalFile()), "HomeDir \"" + folder + "\"\r\nPrjFile \"Lab 1\"\r\n");
    ASSERT_NE(exprLine(), nullptr);
    EXPECT_EQ(exprLine()->text().toStdString(), "sin(t) * 2");
    EXPECT_EQ(ExpressionForm->Expr->currentText().toStdString(), "sin(t) * 2");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ProjectTest, OpenProjectWithoutSettingsKeepsTheCurrentOnes) {
    startFresh();
    PWForm1->TransferSettings.ulAddress = "21";
    const TransferSettings current = PWForm1->TransferSettings;
    const std::string prj = makeProject(tempDir() + "/bare", "Bare", "");
    ui.chooseFile(prj);
    PWForm1->OpenProject1Click();
    EXPECT_EQ(PWForm1->TransferSettings, current);
    EXPECT_EQ(caption(), "Quorvex Plotwell Plus - Bare.prj");
    EXPECT_EQ(PWForm1->HomeDir, tempDir() + "/bare");
}

TEST_F(ProjectTest, CancelledProjectDialogsChangeNothing) {
    startFresh();
    newWindow();
    ui.chooseFile(std::nullopt);
    PWForm1->NewProject1Click();
    ui.chooseFile(std::nullopt);
    PWForm1->OpenProject1Click();
    EXPECT_EQ(windows().size(), 1u);
    EXPECT_EQ(PWForm1->PrjFile, "Default");
    EXPECT_FALSE(fs::exists(projectHome() + "/Default.INI"));
}

TEST_F(ProjectTest, ProjectListsReopenDataLoggerFilesAndBitPatterns) {
    startFresh();
    const std::string dta = tempDir() + "/run log.dta";
    writeFile(dta, "0\t1\t0\r\n-2048\t5\t2047\r\n0\t6\t0\r\n");
    std::string ptn;
    for (uint16_t w : {uint16_t(32768), uint16_t(0x8000), uint16_t(0x7FFF), uint16_t(0x8000)})
        ptn += char(w & 0xff), ptn += char(w >> 8);
    writeFile(tempDir() + "/bits.ptn", ptn);
    ProjectValues v;
    v.GlobalFileType = 1;
    plotwell::transfer::applyTransferDefaults(v.TransferSettings);
    stopApp();
    writeFile(
        projectHome() + "/Default.INI",
        formatProjectSettings({{dta, 10, true, 5, 9, 3}, {tempDir() + "/bits.ptn", 13, true, 1, 2, 0}}, v));
    startApp();

    const auto w = windows();
    ASSERT_EQ(w.size(), 4u) << "three channels and the pattern";
    EXPECT_EQ(w[0]->Doc.FileType, WaveFileType::ZeloDta);
    EXPECT_EQ(w[0]->Doc.SelectionStart, 0) << "a data-logger window keeps the selection its reader gave";
    EXPECT_EQ(w[0]->Doc.SelectionEnd, 1);
    EXPECT_EQ(w[0]->Doc.ProjectValue, 3);
    EXPECT_EQ(w[1]->Doc.FileType, WaveFileType::FurtherChannel);
    EXPECT_EQ(w[3]->Doc.FileType, WaveFileType::BitPattern);
    EXPECT_EQ(w[3]->Doc.IsBitPattern, 1);
    EXPECT_EQ(w[3]->Doc.SelectionStart, 1);
    EXPECT_EQ(w[3]->Doc.SelectionEnd, 2);
    EXPECT_EQ(PWForm1->OpenType, WaveFileType::Internal);
    EXPECT_TRUE(ui.messages().empty()) << ui.lastMessage();

    // Written back: the data-logger file once (by its first window), the pattern as a pattern.
    ASSERT_TRUE(PWForm1->WriteProject());
    const std::string ini = readFile(projectHome() + "/Default.INI");
    EXPECT_EQ(ini.substr(0, ini.find("[SystemValues]")),
              "[OpenFiles]\r\n\"" + dta + "\" 10 0 1 3\r\n\"" + tempDir() + "/bits.ptn\" 13 1 2 0\r\n");
}

TEST_F(ProjectTest, AFileThatIsGoneIsReportedOnceAndNotListedAgain) {
    startFresh();
    ProjectValues v;
    v.GlobalFileType = 1;
    plotwell::transfer::applyTransferDefaults(v.TransferSettings);
    stopApp();
    writeFile(projectHome() + "/Default.INI",
              formatProjectSettings({{tempDir() + "/gone.wfm", 1, true, 3, 9, 0}}, v));
    ui.clear();
    startApp();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Unable to read from\n" + tempDir() + "/gone.wfm"});
    ASSERT_EQ(windows().size(), 1u);
    EXPECT_EQ(PWForm1->TransferSettings, defaultSettings()) << "the settings were read all the same";
    exitApp();
    ui.clear();
    startApp();
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(windows().empty());
}

TEST_F(ProjectTest, AWaveformFilledByAGeneratorIsListedAsTheFileItWasReadFrom) {
    startFresh();
    writeFile(tempDir() + "/n.wfm", wfmBytes(2048, 10));
    TWFMform* w = openWfm(tempDir() + "/n.wfm");
    ASSERT_EQ(w->Doc.PointCount(), 10);
    w->Doc.FileType = WaveFileType::BitPattern; // as the bit-pattern editor leaves it
    w->Doc.IsBitPattern = 1;
    w->Doc.SaveState = 1;
    ASSERT_TRUE(PWForm1->WriteProject());
    const std::string ini = readFile(projectHome() + "/Default.INI");
    EXPECT_EQ(ini.substr(0, ini.find("[SystemValues]")),
              "[OpenFiles]\r\n\"" + tempDir() + "/n.wfm\" 1 0 9 0\r\n");
}

TEST_F(ProjectTest, GlobalSettingsThatCannotBeWrittenAreReportedAndStartUpGoesOn) {
    stopApp();
    std::error_code ec;
    fs::remove_all(plotwell::platform::configDir(), ec);
    fs::create_directories(plotwell::platform::configDir());
    writeFile(plotwell::platform::configDir() + "/plotwell", "a file where the folder should be");
    ui.clear();
    startApp();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Unable to write to\n" + globalFile() +
                                                      "\nto save the setup information."});
    EXPECT_EQ(ui.count("beep"), 1);
    EXPECT_EQ(PWForm1->PrjFile, "Default");
    EXPECT_EQ(caption(), "Quorvex Plotwell Plus - Default.prj");
    EXPECT_EQ(PWForm1->TransferSettings, defaultSettings());
}

TEST_F(ProjectTest, ADataLoggerFileThatCannotBeReadIsNotListedAgain) {
    startFresh();
    const std::string dta = tempDir() + "/empty.dta";
    writeFile(dta, "");
    ProjectValues v;
    v.GlobalFileType = 1;
    plotwell::transfer::applyTransferDefaults(v.TransferSettings);
    stopApp();
    writeFile(projectHome() + "/Default.INI", formatProjectSettings({{dta, 10, true, 0, 0, 0}}, v));
    ui.clear();
    startApp();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Unable to read from\n" + dta});
    exitApp();
    ui.clear();
    startApp();
    EXPECT_TRUE(ui.messages().empty()) << ui.lastMessage();
    EXPECT_TRUE(windows().empty());
}

TEST_F(ProjectTest, ANulInTheGlobalSettingsNamesNoOtherFile) {
    const std::string folder = tempFile("prj");
    fs::create_directories(folder);
    writeFile(folder + "/victim.txt", "precious");
    stopApp();
    wipeConfiguration();
    fs::create_directories(fs::path(globalFile()).parent_path());
    writeFile(globalFile(),
              "HomeDir \"" + folder + "\"\r\nPrjFile \"" + std::string("victim.txt\0", 11) + "\"\r\n");
    ui.clear();
    startApp();
    EXPECT_EQ(PWForm1->HomeDir, projectHome());
    EXPECT_EQ(PWForm1->PrjFile, "Default");
    exitApp();
    EXPECT_EQ(readFile(folder + "/victim.txt"), "precious");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
    startApp();
}

TEST_F(ProjectTest, FifosInPlaceOfSettingsOrListedFilesDoNotHoldUpTheStart) {
    // The global settings file, the project's settings file, then a listed file.
    for (int where = 0; where < 3; ++where) {
        SCOPED_TRACE(where);
        stopApp();
        wipeConfiguration();
        const std::string fifo = tempFile("listed.wfm");
        fs::remove(fifo);
        ASSERT_EQ(
            ::mkfifo(
                where == 0
                    ? (fs::create_directories(fs::path(globalFile()).parent_path()), globalFile()).c_str()
                : where == 1 ? (fs::create_directories(projectHome()), projectHome() + "/Default.INI").c_str()
                             : fifo.c_str(),
                0600),
            0);
        if (where == 2) {
            ProjectValues v;
            plotwell::transfer::applyTransferDefaults(v.TransferSettings);
            makeProject(projectHome(), "Default", formatProjectSettings({{fifo, 1, true, 0, 0, 0}}, v));
        }
        ui.clear();
        startApp();
        EXPECT_EQ(PWForm1->PrjFile, "Default");
        if (where == 2) {
            EXPECT_EQ(ui.messages(), std::vector<std::string>{"Unable to read from\n" + fifo});
            EXPECT_EQ(windows().size(), 1u);
        }
    }
    stopApp();
    wipeConfiguration();
    startApp();
}

TEST_F(ProjectTest, AProjectReopensAtMost256WindowsAndSaysHowManyItSkipped) {
    ProjectValues v;
    plotwell::transfer::applyTransferDefaults(v.TransferSettings);
    const std::vector<OpenFileEntry> listed(300, OpenFileEntry{"Untitled", 0, true, 0, 0, 0});
    stopApp();
    wipeConfiguration();
    makeProject(projectHome(), "Default", formatProjectSettings(listed, v));
    ui.clear();
    startApp();
    EXPECT_EQ(windows().size(), 256u);
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"44 further windows listed in the project were not reopened:\n"
                                       "a project reopens at most 256 windows."});
}
