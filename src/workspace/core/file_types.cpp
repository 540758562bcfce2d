#include "workspace/core/file_types.h"

#include "workspace/core/wave_files.h"

namespace plotwell::workspace {

namespace {

// The types without a format of their own read nothing, and that is no failure.
bool readNothing(std::string_view, SampleStream& out) {
    out.clear();
    return true;
}

// The own formats write the reference word as it stands, with 1 written as 32768.
bool writeInternal(const SampleStream& s, int32_t start, int32_t end, bool, std::string& out, uint16_t& ref) {
    if (!WriteInternal(s, start, end, out))
        return false;
    ref = uint16_t(s.midCode());
    return true;
}
bool writeBitPattern(const SampleStream& s, int32_t start, int32_t end, bool, std::string& out,
                     uint16_t& ref) {
    if (!WriteBitPattern(s, start, end, out))
        return false;
    ref = uint16_t(s.midCode());
    return true;
}
// GS2020 .asc files always take the 10-bit form, whatever the download model.
bool writeGs2020Asc(const SampleStream& s, int32_t start, int32_t end, bool, std::string& out,
                    uint16_t& ref) {
    return WriteWaveCadAsc(s, start, end, true, out, ref);
}
bool writeNormalised(const SampleStream& s, int32_t start, int32_t end, bool, std::string& out,
                     uint16_t& ref) {
    return WriteNormalised(s, start, end, out, ref);
}
bool writeTektronixIsf(const SampleStream& s, int32_t start, int32_t end, bool, std::string& out,
                       uint16_t& ref) {
    return WriteTektronixIsf(s, start, end, out, ref);
}

// The largest files of kMaxPoints points: exact for the binary forms (a word per
// point, after the reference word in the own formats; a .isf block after a header of
// text). "-32768," or "-1.00000\r\n" is at most 10 bytes a value; the text bound leaves
// room for blanks and longer spellings of a number.
constexpr int64_t kWords = 2 * int64_t(kMaxPoints);
constexpr int64_t kOwnWords = kWords + 2;
constexpr int64_t kIsf = kWords + (1 << 20);
constexpr int64_t kText = 32 << 20;
constexpr int64_t kNeverRead = 0;

using T = WaveFileType;
using F = FileFolder;
constexpr bool kAllFiles = true;
constexpr bool kMulti = true;

// 8 is no type of its own (see file_types.h), so it has no name in the enum.
constexpr T kUnnamed8{8};

constexpr FileTypeRow kTable[] = {
    // type, name, description, extension, filter, all files, open title, save title, folder,
    // saves as, reader, channel reader, writer, save refusal, multi-waveform, largest file
    {T::FurtherChannel, nullptr, nullptr, nullptr, nullptr, false, nullptr, nullptr, F::None,
     T::FurtherChannel, nullptr, nullptr, nullptr, nullptr, kMulti, kNeverRead},
    {T::NotFromFile, nullptr, nullptr, nullptr, nullptr, false, nullptr, nullptr, F::None, T::NotFromFile,
     nullptr, nullptr, nullptr, nullptr, false, kNeverRead},
    {T::None, "", nullptr, nullptr, nullptr, false, nullptr, nullptr, F::None, T::Internal, readNothing,
     nullptr, nullptr, nullptr, false, kText},
    {T::Internal, "PlotWell", "Plotwell (*.wfm files)", "wfm", "Plotwell *.wfm files|*.wfm", kAllFiles,
     "Open a Plotwell file", "Save to a Plotwell file", F::Waves, T::Internal, ReadInternal, nullptr,
     writeInternal, nullptr, false, kOwnWords},
    {T::WaveCadWav, "WaveCAD", "WaveCAD (*.wav files)", "wav", "WaveCAD *.wav files|*.wav", kAllFiles,
     "Open a WaveCAD file", "Save to a WaveCAD file", F::WaveCad, T::WaveCadWav, ReadWaveCadWav, nullptr,
     WriteWaveCadWav, nullptr, false, kWords},
    {T::WaveCadAsc, "WaveCAD", "WaveCAD (*.asc files)", "asc", "WaveCAD *.asc files|*.asc", kAllFiles,
     "Open a WaveCAD file", "Save to a WaveCAD file", F::WaveCad, T::WaveCadAsc, ReadWaveCadAsc, nullptr,
     WriteWaveCadAsc, nullptr, false, kText},
    {T::Normalised, "Normalised", "Normalised (*.nrm files)", "nrm", "Normalised *.nrm files|*.nrm",
     kAllFiles, "Open a Normalised file", "Save to a Normalised file", F::Waves, T::Normalised,
     ReadNormalised, nullptr, writeNormalised, nullptr, false, kText},
    {T::Gs2020Sig, "GS2020", "GS2020 (*.sig files)", "sig", "GS2020 *.sig files|*.sig", false, nullptr,
     "Save to a GS2020 file", F::Gs2020, T::Gs2020Sig, ReadGs2020Sig, nullptr, nullptr, nullptr, false,
     kWords},
    {T::Gs2020Asc, "GS2020", "GS2020 (*.asc files)", "asc", "GS2020 *.asc files|*.asc", false, nullptr,
     "Save to a GS2020 file", F::Gs2020, T::Gs2020Asc, ReadWaveCadAsc, nullptr, writeGs2020Asc, nullptr,
     false, kText},
    {T::Gs2020Arb, "GS2020", "GS2020 (*.arb files)", "arb", "GS2020 *.arb files|*.arb", false, nullptr,
     "Save to a GS2020 file", F::Gs2020, T::Gs2020Arb, ReadGs2020Arb, nullptr, nullptr, nullptr, false,
     kText},
    {kUnnamed8, nullptr, nullptr, nullptr, nullptr, false, nullptr, nullptr, F::None, T::Internal,
     readNothing, nullptr, nullptr, nullptr, false, kText},
    {T::Tektronix, "Tektronix", "Tektronix TDS (*.isf files)", "isf", "Tektronix *.isf files|*.isf", false,
     "Open a Tektronix TDS file", "Save to a Tektronix TDS file", F::Tds, T::Tektronix, ReadTektronixIsf,
     nullptr, writeTektronixIsf, nullptr, false, kIsf},
    // The data-logger files are only read, one window per channel, when a project lists them.
    {T::ZeloDta, "ZELO", "ZELO (*.dta files)", "dta", nullptr, false, nullptr, nullptr, F::Zelo, T::ZeloDta,
     nullptr, ReadZeloDta, nullptr, "Waveforms cannot be saved to ZELO *.dta log files", kMulti, kText},
    {T::ZeloDac, "ZELO", "ZELO (*.dac files)", "dac", "ZELO *.dac files|*.dac", false, nullptr,
     "Save to a ZELO file", F::Zelo, T::ZeloDac, nullptr, ReadZeloDac, nullptr, nullptr, kMulti, kText},
    {T::Csv, nullptr, nullptr, "csv", "Comma Separated Values *.csv files|*.csv", kAllFiles,
     "Open a CSV file", nullptr, F::Waves, T::Internal, readNothing, nullptr, nullptr, nullptr, false, kText},
    {T::BitPattern, "PlotWell Bit Pattern", nullptr, "ptn", "Plotwell Bit Pattern files *.ptn files|*.ptn",
     false, "Open a Plotwell Bit Pattern file", "Save to a Bit Pattern file", F::Patterns, T::BitPattern,
     ReadBitPattern, nullptr, writeBitPattern, nullptr, false, kOwnWords},
};

constexpr int kFirstCode = -2;

// The rows stand in code order, so a code finds its row by index.
constexpr bool inCodeOrder() {
    int code = kFirstCode;
    for (const FileTypeRow& row : kTable)
        if (FileTypeCode(row.type) != code++)
            return false;
    return true;
}
static_assert(inCodeOrder());

} // namespace

std::span<const FileTypeRow> FileTypeTable() {
    return kTable;
}

const FileTypeRow* FindFileType(int code) {
    const long index = long(code) - kFirstCode;
    if (index < 0 || index >= long(std::size(kTable)))
        return nullptr;
    return &kTable[index];
}

const char* FileTypeName(WaveFileType type) {
    const FileTypeRow* row = FindFileType(type);
    return row && row->name ? row->name : "Unknown";
}

const char* FileTypeDescription(WaveFileType type) {
    const FileTypeRow* row = FindFileType(type);
    return row && row->description ? row->description : "Unknown";
}

std::string OpenFilter(const FileTypeRow& row) {
    if (!row.openTitle || !row.filter)
        return {};
    std::string filter = row.filter;
    if (row.openListsAllFiles)
        filter += "|All Files *.*|*.*";
    return filter;
}

} // namespace plotwell::workspace
