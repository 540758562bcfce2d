#include "workspace/core/file_types.h"
#include "workspace/core/wave_files.h"

#include <gtest/gtest.h>

#include <string>

using namespace plotwell::workspace;

namespace {
std::string text(const char* s) {
    return s ? s : "(none)";
}
} // namespace

// The texts every type shows: in captions, in the default-type label, and in the open and
// save dialogs with their folders. "(none)": the type sets up no such dialog.
TEST(FileTypeTable, EveryTypeCarriesItsTexts) {
    struct Row {
        int code;
        const char* name;
        const char* description;
        const char* extension;
        const char* openFilter;
        const char* openTitle;
        const char* saveFilter;
        const char* saveTitle;
        FileFolder folder;
    };
    const Row rows[] = {
        {-2, "Unknown", "Unknown", "(none)", "", "(none)", "(none)", "(none)", FileFolder::None},
        {-1, "Unknown", "Unknown", "(none)", "", "(none)", "(none)", "(none)", FileFolder::None},
        {0, "", "Unknown", "(none)", "", "(none)", "(none)", "(none)", FileFolder::None},
        {1, "PlotWell", "Plotwell (*.wfm files)", "wfm", "Plotwell *.wfm files|*.wfm|All Files *.*|*.*",
         "Open a Plotwell file", "Plotwell *.wfm files|*.wfm", "Save to a Plotwell file", FileFolder::Waves},
        {2, "WaveCAD", "WaveCAD (*.wav files)", "wav", "WaveCAD *.wav files|*.wav|All Files *.*|*.*",
         "Open a WaveCAD file", "WaveCAD *.wav files|*.wav", "Save to a WaveCAD file", FileFolder::WaveCad},
        {3, "WaveCAD", "WaveCAD (*.asc files)", "asc", "WaveCAD *.asc files|*.asc|All Files *.*|*.*",
         "Open a WaveCAD file", "WaveCAD *.asc files|*.asc", "Save to a WaveCAD file", FileFolder::WaveCad},
        {4, "Normalised", "Normalised (*.nrm files)", "nrm", "Normalised *.nrm files|*.nrm|All Files *.*|*.*",
         "Open a Normalised file", "Normalised *.nrm files|*.nrm", "Save to a Normalised file",
         FileFolder::Waves},
        {5, "GS2020", "GS2020 (*.sig files)", "sig", "", "(none)", "GS2020 *.sig files|*.sig",
         "Save to a GS2020 file", FileFolder::Gs2020},
        {6, "GS2020", "GS2020 (*.asc files)", "asc", "", "(none)", "GS2020 *.asc files|*.asc",
         "Save to a GS2020 file", FileFolder::Gs2020},
        {7, "GS2020", "GS2020 (*.arb files)", "arb", "", "(none)", "GS2020 *.arb files|*.arb",
         "Save to a GS2020 file", FileFolder::Gs2020},
        {8, "Unknown", "Unknown", "(none)", "", "(none)", "(none)", "(none)", FileFolder::None},
        {9, "Tektronix", "Tektronix TDS (*.isf files)", "isf", "Tektronix *.isf files|*.isf",
         "Open a Tektronix TDS file", "Tektronix *.isf files|*.isf", "Save to a Tektronix TDS file",
         FileFolder::Tds},
        {10, "ZELO", "ZELO (*.dta files)", "dta", "", "(none)", "(none)", "(none)", FileFolder::Zelo},
        {11, "ZELO", "ZELO (*.dac files)", "dac", "", "(none)", "ZELO *.dac files|*.dac",
         "Save to a ZELO file", FileFolder::Zelo},
        {12, "Unknown", "Unknown", "csv", "Comma Separated Values *.csv files|*.csv|All Files *.*|*.*",
         "Open a CSV file", "Comma Separated Values *.csv files|*.csv", "(none)", FileFolder::Waves},
        {13, "PlotWell Bit Pattern", "Unknown", "ptn", "Plotwell Bit Pattern files *.ptn files|*.ptn",
         "Open a Plotwell Bit Pattern file", "Plotwell Bit Pattern files *.ptn files|*.ptn",
         "Save to a Bit Pattern file", FileFolder::Patterns},
    };
    ASSERT_EQ(FileTypeTable().size(), std::size(rows));
    for (const Row& r : rows) {
        const FileTypeRow* row = FindFileType(r.code);
        ASSERT_NE(row, nullptr) << r.code;
        EXPECT_EQ(FileTypeCode(row->type), r.code);
        EXPECT_STREQ(FileTypeName(WaveFileType(r.code)), r.name) << r.code;
        EXPECT_STREQ(FileTypeDescription(WaveFileType(r.code)), r.description) << r.code;
        EXPECT_EQ(text(row->extension), r.extension) << r.code;
        EXPECT_EQ(OpenFilter(*row), r.openFilter) << r.code;
        EXPECT_EQ(text(row->openTitle), r.openTitle) << r.code;
        EXPECT_EQ(text(row->filter), r.saveFilter) << r.code;
        EXPECT_EQ(text(row->saveTitle), r.saveTitle) << r.code;
        EXPECT_EQ(row->folder, r.folder) << r.code;
    }
    for (int code : {-3, 14, 100}) {
        EXPECT_EQ(FindFileType(code), nullptr);
        EXPECT_STREQ(FileTypeName(WaveFileType(code)), "Unknown");
        EXPECT_STREQ(FileTypeDescription(WaveFileType(code)), "Unknown");
    }
}

// How a load and a save treat each type: what is read, what a save writes as, what closes
// together with other windows.
TEST(FileTypeTable, ReadersWritersAndRefusalsByType) {
    struct Row {
        int code;
        bool reads; // a one-waveform reader, or nothing to read
        bool readsChannels;
        int savesAs;
        bool refused; // a save is refused before any dialog
        bool multiWaveform;
    };
    const Row rows[] = {
        {-2, false, false, -2, false, true}, {-1, false, false, -1, false, false},
        {0, true, false, 1, false, false},   {1, true, false, 1, false, false},
        {2, true, false, 2, false, false},   {3, true, false, 3, false, false},
        {4, true, false, 4, false, false},   {5, true, false, 5, false, false},
        {6, true, false, 6, false, false},   {7, true, false, 7, false, false},
        {8, true, false, 1, false, false},   {9, true, false, 9, false, false},
        {10, false, true, 10, true, true},   {11, false, true, 11, false, true},
        {12, true, false, 1, false, false},  {13, true, false, 13, false, false},
    };
    for (const Row& r : rows) {
        const FileTypeRow& row = *FindFileType(r.code);
        EXPECT_EQ(row.reader != nullptr, r.reads) << r.code;
        EXPECT_EQ(row.channelReader != nullptr, r.readsChannels) << r.code;
        EXPECT_EQ(FileTypeCode(EffectiveSaveType(WaveFileType(r.code))), r.savesAs) << r.code;
        EXPECT_EQ(row.saveRefusal != nullptr, r.refused) << r.code;
        EXPECT_EQ(row.multiWaveform, r.multiWaveform) << r.code;
    }
    EXPECT_STREQ(FindFileType(WaveFileType::ZeloDta)->saveRefusal,
                 "Waveforms cannot be saved to ZELO *.dta log files");
}
