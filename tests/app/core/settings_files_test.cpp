#include "app/core/settings_files.h"
#include "workspace/core/project_paths.h"

#include <gtest/gtest.h>

#include <string>

using namespace plotwell::app;
using namespace plotwell::workspace;
using plotwell::transfer::applyTransferDefaults;

namespace {

ProjectValues defaultValues() {
    ProjectValues v;
    v.GlobalFileType = 1;
    applyTransferDefaults(v.TransferSettings);
    v.exprn = "";
    return v;
}

// The [SystemValues] section of a file written with the transfer defaults.
std::string defaultKeys(const std::string& exprn = "(null)") {
    return "[SystemValues]\r\n"
           "GlobalFileType 1\r\n"
           "dlMakeIndex 0\r\n"
           "dlModelIndex 7\r\n"
           "dlDestinationIndex 0\r\n"
           "dlTypeIndex 4\r\n"
           "dlStretchIndex 1\r\n"
           "dlMake Quorvex\r\n"
           "dlModel QV7351A\r\n"
           "dlDestination arb1\r\n"
           "dlType LAN\r\n"
           "dlAddress 5\r\n"
           "dlBaudRate 6\r\n"
           "dlByteSize 8\r\n"
           "dlParity 0\r\n"
           "dlStopBits 0\r\n"
           "dlFlowControl 1\r\n"
           "ulMakeIndex 0\r\n"
           "ulModelIndex 7\r\n"
           "ulSourceIndex 0\r\n"
           "ulTypeIndex 4\r\n"
           "ulMake Quorvex\r\n"
           "ulModel QV7351A\r\n"
           "ulSource arb1\r\n"
           "ulType LAN\r\n"
           "ulAddress 5\r\n"
           "ulBaudRate 6\r\n"
           "ulByteSize 8\r\n"
           "ulParity 0\r\n"
           "ulStopBits 0\r\n"
           "ulFlowControl 2\r\n"
           "dlChannel 0\r\n"
           "dlOutput 0\r\n"
           "dlSyncOut 0\r\n"
           "dlSyncType 0\r\n"
           "dlAmplitude 0\r\n"
           "dlFilter 0\r\n"
           "dlOffset 0\r\n"
           "dlPlaybackType 0\r\n"
           "dlPlaybackValue 0\r\n"
           "dlMode 0\r\n"
           "dlTriggerSource 0\r\n"
           "dlSend 0\r\n"
           "dlDriveLetterIndex 0\r\n"
           "dlDriveLetter (null)\r\n"
           "ulDriveLetterIndex 0\r\n"
           "ulDriveLetter (null)\r\n"
           "dlTCPPort 9221 \r\n"
           "ulTCPPort 9221 \r\n"
           "dlIPAddress 192.168.1.100 \r\n"
           "ulIPAddress 192.168.1.100 \r\n"
           "exprn " +
           exprn + "\r\n";
}

// Removes the line of `key` from a file.
std::string withoutKey(std::string file, const std::string& key) {
    const auto at = file.find("\n" + key + " ");
    EXPECT_NE(at, std::string::npos) << key;
    const auto end = file.find('\n', at + 1);
    file.erase(at + 1, end - at);
    return file;
}

// Cuts a file after the line of `key`.
std::string truncatedAfter(const std::string& file, const std::string& key) {
    const auto at = file.find("\n" + key + " ");
    EXPECT_NE(at, std::string::npos) << key;
    return file.substr(0, file.find('\n', at + 1) + 1);
}

ProjectValues unusualValues() {
    ProjectValues v = defaultValues();
    auto& s = v.TransferSettings;
    v.GlobalFileType = 4;
    s.dlType = "Card/USB Memory";
    s.dlTypeIndex = 3;
    s.dlDestination = "user  arb  2"; // runs of blanks survive
    s.ulSource = " leading";
    s.dlDriveLetter = "/media/usb stick";
    s.dlDriveLetterIndex = 2;
    s.ulDriveLetter = "";
    s.dlTCPPort = "5025";
    s.ulIPAddress = "";
    s.dlAddress = "-1";
    s.ulFlowControl = -7;
    s.dlBaudRate = 2147483647;
    v.exprn = "amp*sin(omg*t) + 0.5 ";
    return v;
}

} // namespace

// ---- project settings file: writer ---------------------------------------------------------

TEST(ProjectSettingsFile, DefaultsAreWrittenByteForByte) {
    const std::vector<OpenFileEntry> entries = {
        {"Untitled", 0, true, 0, 0, 0},
        {"/home/ann lee/My Waves/sine  wave.wfm", 1, true, 10, 99, 7},
        {"/data/log.dac", 11, true, 0, 4095, 0},
    };
    const std::string expected = "[OpenFiles]\r\n"
                                 "\"Untitled\" 0 0 0 0\r\n"
                                 "\"/home/ann lee/My Waves/sine  wave.wfm\" 1 10 99 7\r\n"
                                 "\"/data/log.dac\" 11 0 4095 0\r\n" +
                                 defaultKeys();
    EXPECT_EQ(formatProjectSettings(entries, defaultValues()), expected);
}

TEST(ProjectSettingsFile, EmptyListAndExpressionAreWrittenAsIs) {
    ProjectValues v = defaultValues();
    v.exprn = "amp*sin(t)";
    EXPECT_EQ(formatProjectSettings({}, v), "[OpenFiles]\r\n" + defaultKeys("amp*sin(t)"));
}

TEST(ProjectSettingsFile, LineBreaksInsideTextsNeverBreakTheFile) {
    ProjectValues v = defaultValues();
    v.TransferSettings.dlAddress = "a\r\nb";
    const std::string file = formatProjectSettings({}, v);
    EXPECT_NE(file.find("dlAddress a  b\r\n"), std::string::npos);
    ProjectValues back;
    EXPECT_TRUE(readProjectSettings(file, back).ok);
}

// ---- project settings file: reader ---------------------------------------------------------

TEST(ProjectSettingsFile, ReadsBackWhatItWrites) {
    const std::vector<OpenFileEntry> entries = {
        {"Untitled", 0, true, 0, 0, 0},
        {"/w/a \"quoted\"  name.wfm", 1, true, 5, 6, -3},
        {"/w/pattern.ptn", 13, true, 0, 63, 0},
    };
    for (const ProjectValues& written : {defaultValues(), unusualValues()}) {
        ProjectValues read;
        const auto r = readProjectSettings(formatProjectSettings(entries, written), read);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.entries, entries);
        EXPECT_EQ(read, written);
    }
}

TEST(ProjectSettingsFile, NullStandsForAnEmptyTextOnEveryTextKey) {
    ProjectValues read = unusualValues();
    const std::string file = "[OpenFiles]\r\n" + defaultKeys();
    ASSERT_TRUE(readProjectSettings(file, read).ok);
    EXPECT_EQ(read.TransferSettings.dlDriveLetter, "");
    EXPECT_EQ(read.TransferSettings.ulDriveLetter, "");
    EXPECT_EQ(read.exprn, "");
}

TEST(ProjectSettingsFile, ToleratesBareLineFeedsAndBlankLines) {
    std::string file = "[OpenFiles]\r\n\"/w/x y.wfm\" 4 1 2 3\r\n\r\n" + defaultKeys();
    std::string lf;
    for (char c : file)
        if (c != '\r')
            lf += c;
    ProjectValues read;
    const auto r = readProjectSettings(lf, read);
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].WaveName, "/w/x y.wfm");
    EXPECT_EQ(read.TransferSettings.dlTCPPort, "9221");
}

TEST(ProjectSettingsFile, DataLoggerLinesKeepNoSelection) {
    const std::string file =
        "[OpenFiles]\r\n\"/z/run.dta\" 10 0 99 5\r\n\"/z/run.dac\" 11 x y\r\n" + defaultKeys();
    ProjectValues read;
    const auto r = readProjectSettings(file, read);
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_FALSE(r.entries[0].selectionRead);
    EXPECT_EQ(r.entries[0].ProjectValue, 5);
    EXPECT_FALSE(r.entries[1].selectionRead);
    EXPECT_EQ(r.entries[1].ProjectValue, 0);
}

TEST(ProjectSettingsFile, MissingProjectValueIsZero) {
    const std::string file = "[OpenFiles]\r\n\"/w/a.wfm\" 1 3 4\r\nUntitled 0 0 0 word\r\n" + defaultKeys();
    ProjectValues read;
    const auto r = readProjectSettings(file, read);
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[0].ProjectValue, 0);
    EXPECT_EQ(r.entries[0].SelectionEnd, 4);
    EXPECT_EQ(r.entries[1].WaveName, "Untitled");
}

TEST(ProjectSettingsFile, ABrokenListLineEndsTheListWithFailure) {
    struct Case {
        const char* line;
        size_t windows; // windows still opened
    } cases[] = {
        {"\"/w/a.wfm\" one 0 0 0", 0}, // no type: nothing opened
        {"\"/w/a.wfm\" 1 0", 1},       // selection broken after the window was opened
        {"\"/w/a.wfm\" 10 0", 1},      // a data-logger line without its two words
        {"\"/w/unclosed 1 0 0 0", 0},
    };
    for (const auto& c : cases) {
        ProjectValues read = defaultValues();
        read.GlobalFileType = 9;
        const auto r =
            readProjectSettings(std::string("[OpenFiles]\r\n") + c.line + "\r\n" + defaultKeys(), read);
        EXPECT_FALSE(r.ok) << c.line;
        EXPECT_EQ(r.entries.size(), c.windows) << c.line;
        EXPECT_EQ(read.GlobalFileType, 9) << "keys are not read after a broken list: " << c.line;
    }
}

TEST(ProjectSettingsFile, FileEndingAfterDlSendKeepsItsWindowsButFails) {
    const std::string full = "[OpenFiles]\r\n\"/w/a.wfm\" 1 2 3 0\r\n" + defaultKeys();
    ProjectValues read = unusualValues();
    read.TransferSettings.dlDriveLetter = "kept";
    const auto r = readProjectSettings(truncatedAfter(full, "dlSend"), read);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.entries.size(), 1u);
    // The keys before the end were read; those after keep their values.
    EXPECT_EQ(read.GlobalFileType, 1);
    EXPECT_EQ(read.TransferSettings.dlType, "LAN");
    EXPECT_EQ(read.TransferSettings.dlDriveLetter, "kept");
    EXPECT_EQ(read.exprn, unusualValues().exprn);
}

TEST(ProjectSettingsFile, MissingKeysFollowTheirRules) {
    const std::string full = "[OpenFiles]\r\n" + defaultKeys("amp");
    {
        ProjectValues read;
        read.TransferSettings.ulDriveLetter = "kept";
        EXPECT_TRUE(readProjectSettings(withoutKey(full, "ulDriveLetter"), read).ok);
        EXPECT_EQ(read.TransferSettings.ulDriveLetter, "kept");
        EXPECT_EQ(read.TransferSettings.ulIPAddress, "192.168.1.100");
        EXPECT_EQ(read.exprn, "amp");
    }
    {
        ProjectValues read;
        EXPECT_TRUE(readProjectSettings(withoutKey(full, "exprn"), read).ok);
        EXPECT_EQ(read.exprn, "") << "a missing expression gives an empty one";
    }
    for (const char* key : {"GlobalFileType", "dlModel", "dlSend", "dlDriveLetter", "ulIPAddress"}) {
        ProjectValues read;
        EXPECT_FALSE(readProjectSettings(withoutKey(full, key), read).ok) << key;
        EXPECT_FALSE(read.exprn.has_value()) << key;
    }
    {
        ProjectValues read;
        std::string bad = full;
        bad.replace(bad.find("dlAmplitude 0"), 13, "dlAmplitude x");
        EXPECT_FALSE(readProjectSettings(bad, read).ok) << "unused keys are still numbers";
        EXPECT_EQ(read.TransferSettings.ulFlowControl, 2);
        EXPECT_EQ(read.TransferSettings.dlDriveLetterIndex, 0);
    }
}

TEST(ProjectSettingsFile, MalformedFilesFailWithoutHarm) {
    const std::string longLine(10000, 'x');
    const std::string garbage = [] {
        std::string g;
        for (int i = 0; i < 4096; ++i)
            g += char((i * 131 + 7) & 0xff);
        return g;
    }();
    const std::string good = "[OpenFiles]\r\n" + defaultKeys();
    for (const std::string& bytes :
         {std::string(), std::string("\r\n\r\n"), std::string("[OpenFiles]"), good.substr(0, 20),
          good.substr(0, good.size() / 2), garbage, "[OpenFiles]\r\n" + garbage, longLine,
          "[OpenFiles]\r\n" + longLine, std::string("\0\0\0[OpenFiles]\r\n", 16),
          "[SystemValues]\r\n" + defaultKeys()}) {
        ProjectValues read;
        EXPECT_FALSE(readProjectSettings(bytes, read).ok);
    }
}

TEST(ProjectSettingsFile, LongLinesAreReadWhole) {
    // A name as long as a path can be (4096 bytes); the texts longer still.
    const std::string longName = "/w/" + std::string(4089, 'n') + ".wfm";
    const std::string longValue(10000, 'v');
    ProjectValues written = defaultValues();
    written.TransferSettings.dlDestination = longValue;
    written.exprn = std::string(10000, 'e');
    ProjectValues read;
    const auto r = readProjectSettings(formatProjectSettings({{longName, 1, true, 0, 1, 0}}, written), read);
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].WaveName, longName);
    EXPECT_EQ(read, written);
}

// ---- global settings file --------------------------------------------------------------------

TEST(GlobalSettingsFile, WrittenAndReadBack) {
    const GlobalSettings g{"/home/ann  lee/Documents/Plotwell", "My Project"};
    const std::string bytes = formatGlobalSettings(g);
    EXPECT_EQ(bytes, "HomeDir \"/home/ann  lee/Documents/Plotwell\"\r\nPrjFile \"My Project\"\r\n");
    EXPECT_EQ(readGlobalSettings(bytes), g);
}

TEST(GlobalSettingsFile, ReadingRules) {
    struct Case {
        std::string bytes;
        std::optional<GlobalSettings> expected;
    } cases[] = {
        {"HomeDir \"/h\"\nPrjFile \"p\"\n", GlobalSettings{"/h", "p"}},
        {"HomeDir  /plain/dir  \r\nPrjFile p\r\n", GlobalSettings{"/plain/dir", "p"}},
        {"HomeDir \"/a \"b\" c\"\r\nPrjFile \"p\"", GlobalSettings{"/a \"b\" c", "p"}},
        {"HomeDir \"/h\"\r\n", std::nullopt},
        {"PrjFile \"p\"\r\nHomeDir \"/h\"\r\n", std::nullopt},
        {"HomeDir \"/h\r\nPrjFile \"p\"\r\n", std::nullopt}, // the closing quote is missing
        {"HomeDir \"\"\r\nPrjFile \"p\"\r\n", std::nullopt},
        {"", std::nullopt},
        {std::string(10000, '"'), std::nullopt},
        {"HomeDir \"" + std::string(10000, 'd') + "\"\r\nPrjFile \"p\"\r\n",
         GlobalSettings{std::string(10000, 'd'), "p"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readGlobalSettings(c.bytes), c.expected) << c.bytes.substr(0, 60);
}

// ---- selections and paths -----------------------------------------------------------------

TEST(RestoredSelection, FitsTheReloadedWaveform) {
    struct Case {
        int32_t start, end;
        int count;
        std::optional<RestoredSelection> expected;
    } cases[] = {
        {10, 20, 100, RestoredSelection{10, 20}},
        {10, 500, 100, RestoredSelection{10, 99}}, // the file shrank
        {150, 200, 100, RestoredSelection{0, 99}}, // nothing of it is left
        {-1, 5, 100, RestoredSelection{0, 99}},
        {30, 20, 100, RestoredSelection{0, 99}},
        {0, 0, 1, RestoredSelection{0, 0}},
        {0, 5, 0, std::nullopt},
        {0, 5, -1, std::nullopt},
    };
    for (const auto& c : cases) {
        auto r = clampRestoredSelection(c.start, c.end, c.count);
        ASSERT_EQ(r.has_value(), c.expected.has_value()) << c.start << " " << c.end;
        if (r) {
            EXPECT_EQ(r->start, c.expected->start);
            EXPECT_EQ(r->end, c.expected->end);
        }
    }
}

TEST(ProjectPaths, KeepTheCaseOfEveryName) {
    const ProjectPaths p = projectPaths("/home/ann/Documents/Plotwell", "Default");
    EXPECT_EQ(p.ProjectIniPath, "/home/ann/Documents/Plotwell/Default.INI");
    EXPECT_EQ(p.ProjectMarkerFile, "/home/ann/Documents/Plotwell/Default.prj");
    EXPECT_EQ(p.ExpressionLibrary, "/home/ann/Documents/Plotwell/Default.LIB");
    EXPECT_EQ(p.WaveCadDefaultDir, "/home/ann/Documents/Plotwell/WAVECAD/");
    EXPECT_EQ(p.WaveCadDir, p.WaveCadDefaultDir);
    EXPECT_EQ(p.WaveCadQv3030Dir, "/home/ann/Documents/Plotwell/WAVECAD/QV3030/");
    EXPECT_EQ(p.WaveCadQva3460Dir, "/home/ann/Documents/Plotwell/WAVECAD/QVA3460/");
    EXPECT_EQ(p.Gs2020Dir, "/home/ann/Documents/Plotwell/GS2020/");
    EXPECT_EQ(p.ZeloDir, "/home/ann/Documents/Plotwell/ZELO/");
    EXPECT_EQ(p.TdsDir, "/home/ann/Documents/Plotwell/TDS/");
    EXPECT_EQ(p.WavesDir, "/home/ann/Documents/Plotwell/WAVES/");
    EXPECT_EQ(p.PatternsDir, "/home/ann/Documents/Plotwell/PATTERNS/");
    EXPECT_EQ(projectPaths("/", "p").WavesDir, "/WAVES/");
}

TEST(ProjectPaths, ChosenProjectFile) {
    auto c = chosenProject("/home/ann/My Projects/Bench 2.prj");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->folder, "/home/ann/My Projects");
    EXPECT_EQ(c->name, "Bench 2");
    EXPECT_EQ(chosenProject("/x/noext")->name, "noext");
    EXPECT_EQ(chosenProject("/card/BENCH.PRJ")->name, "BENCH");
    EXPECT_EQ(chosenProject("/x/Lab.Prj")->name, "Lab");
    EXPECT_EQ(chosenProject("/p.prj")->folder, "/");
    EXPECT_FALSE(chosenProject("/x/.prj"));
    EXPECT_FALSE(chosenProject("/x/"));
}
