#pragma once
// The file types of waveform windows: their codes and, in one table, everything the program
// knows of each type: its names, the open and save dialogs' set-up, its folder, its reader
// and its writer.

#include "workspace/core/datalogger.h"
#include "workspace/core/limits.h"
#include "workspace/core/sample_stream.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plotwell::workspace {

// A bit pattern holds 1 to kMaxPatternBits bits, and says so when it would hold more.
inline constexpr int kBitPatternMinBits = 1;
inline constexpr const char* kTooManyBits = "A bit pattern holds at most 65535 bits";
static_assert(kMaxPatternBits == 65535, "kTooManyBits spells the limit");

// The numbers are stored in project files, so they never change. 8 has no type; a project
// may still hold it as its default type, and it is then handled as 0 and 12 are.
enum class WaveFileType : int {
    FurtherChannel = -2, // a further channel of a multi-channel data-logger file
    NotFromFile = -1,    // clipboard, upload or CSV data, or a file overwritten from another window
    None = 0,            // an empty window
    Internal = 1,        // own .wfm
    WaveCadWav = 2,
    WaveCadAsc = 3,
    Normalised = 4, // .nrm
    Gs2020Sig = 5,
    Gs2020Asc = 6,
    Gs2020Arb = 7,
    Tektronix = 9, // .isf
    ZeloDta = 10,
    ZeloDac = 11,
    Csv = 12,        // import only
    BitPattern = 13, // .ptn
};

// Settings, project and history side files are small texts; a larger one is damaged or
// hostile and is refused before it is read.
inline constexpr long long kMaxSettingsFileBytes = 1 << 20;

constexpr int FileTypeCode(WaveFileType type) {
    return static_cast<int>(type);
}

// The project folders a dialog starts in; the frame knows where each one is.
enum class FileFolder { None, Waves, WaveCad, Gs2020, Tds, Zelo, Patterns };

// Reads one waveform from a whole file (wave_files.h).
using WaveReader = bool (*)(std::string_view bytes, SampleStream& out);
// Reads the channels of a data-logger file (datalogger.h).
using ChannelReader = bool (*)(std::string_view bytes, std::vector<LoggerChannel>& channels);
// The form a WaveCAD .wav or .asc file is saved in: 12-bit with every selected point, or
// the 10-bit form of 1024 points that the instruments with 1024-point numbered stores take.
// Which one is the download instrument's to say: the caller asks its model row.
enum class WaveCadForm { TwelveBit, TenBit };

// Writes the selection start..end; `tenBit` asks for the 10-bit WaveCAD forms.
// `writtenReference` receives the reference word written.
using WaveWriter = bool (*)(const SampleStream& samples, int32_t start, int32_t end, bool tenBit,
                            std::string& out, uint16_t& writtenReference);

// A null text means that the type has none: a null name or description reads "Unknown",
// a null title means that the type sets up no dialog of that kind (it stays as last set).
struct FileTypeRow {
    WaveFileType type;
    const char* name;        // in captions after a load ("PlotWell", "WaveCAD", ...)
    const char* description; // in the frame's default-type label ("Plotwell (*.wfm files)")
    const char* extension;   // the dialogs' default extension
    const char* filter;      // the save dialog's filter; the open dialog's, before "All Files"
    bool openListsAllFiles;  // the open dialog's filter also offers every file
    const char* openTitle;
    const char* saveTitle;
    FileFolder folder;
    // A save of this type uses the writer of `savesAs`: the types without a format of their
    // own save as the own format.
    WaveFileType savesAs;
    WaveReader reader;           // null: the type has no one-waveform reader
    ChannelReader channelReader; // the data-logger files: one window per channel
    WaveWriter writer;           // null: a save of this type fails
    // The text a save of this type is refused with before any dialog, or null.
    const char* saveRefusal;
    // A window of this type is one of several waveforms of one file.
    bool multiWaveform;
    // The largest file of the type that holds no more than the point limit; a larger one
    // is refused before it is read (see MaxWaveFileBytes).
    int64_t largestFile;
};

// Every type, in code order from -2 to 13.
std::span<const FileTypeRow> FileTypeTable();
// The row of a code; null for a number that is no type (below -2, above 13).
const FileTypeRow* FindFileType(int code);
inline const FileTypeRow* FindFileType(WaveFileType type) {
    return FindFileType(FileTypeCode(type));
}

// Used in captions after a load or save ("PlotWell", "WaveCAD", ...).
const char* FileTypeName(WaveFileType type);
// Used in the frame's default-type label ("Plotwell (*.wfm files)", ...).
const char* FileTypeDescription(WaveFileType type);
// The open dialog's filter of a type: its filter, with "All Files" where the type offers it.
// Empty when the type sets up no open dialog.
std::string OpenFilter(const FileTypeRow& row);

} // namespace plotwell::workspace
