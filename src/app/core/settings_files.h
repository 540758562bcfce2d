#pragma once
// The two settings files of the program, as bytes.
//
// Global settings file (PWSET.INI): which project was used last.
//     HomeDir "<folder>"\r\n
//     PrjFile "<name>"\r\n
//
// Project settings file (<HomeDir>/<PrjFile>.INI): the waveform windows that were open and
// the transfer settings.
//     [OpenFiles]\r\n
//     "<WaveName>" <FileType> <SelectionStart> <SelectionEnd> <ProjectValue>\r\n   (one per window)
//     [SystemValues]\r\n
//     51 lines "<key> <value>\r\n" in a fixed order (see kProjectKeys in the .cpp).
//
// Both readers take the whole file as bytes and never trust it: any input gives a result,
// with no limit on the length of a line or a value. These two readers are the entry points
// for fuzzing:
//     readGlobalSettings(bytes)
//     readProjectSettings(bytes, values)

#include "transfer/core/transfer_settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plotwell::app {

// ---- global settings file ---------------------------------------------------------------

struct GlobalSettings {
    std::string HomeDir;
    std::string PrjFile;
    bool operator==(const GlobalSettings&) const = default;
};

// Both keys, in this order, each with a value in double quotes that may hold any blanks.
// nullopt when either key is missing, its closing quote is missing or its value is empty.
std::optional<GlobalSettings> readGlobalSettings(std::string_view bytes);
std::string formatGlobalSettings(const GlobalSettings& settings);

// ---- project settings file --------------------------------------------------------------

// One line of the [OpenFiles] list.
struct OpenFileEntry {
    std::string WaveName;
    int FileType = 0;
    // False when the line held no valid selection (always for data-logger files, whose
    // windows keep the selections their reader gives them).
    bool selectionRead = false;
    int32_t SelectionStart = 0;
    int32_t SelectionEnd = 0;
    int32_t ProjectValue = 0;
    bool operator==(const OpenFileEntry&) const = default;
};

// The values of the [SystemValues] section.
struct ProjectValues {
    int GlobalFileType = 0;
    transfer::TransferSettings TransferSettings;
    // The expression line of the expression dialog. On reading it is set (to "" when the
    // key is absent) only when the reading got that far.
    std::optional<std::string> exprn;
    bool operator==(const ProjectValues&) const = default;
};

struct ProjectReadResult {
    // The windows to reopen, in file order; a line that broke the list after its type was
    // read is still here (its window is opened before the failure is noticed).
    std::vector<OpenFileEntry> entries;
    // True when the list and every key up to ulIPAddress were read. ulDriveLetter and
    // exprn may be absent.
    bool ok = false;
};

// Reads a project settings file. `values` is updated key by key as the keys are read, so on
// failure the keys before the first missing one keep their new values and the rest keep
// what they held. Text values run to the end of their line: the line end goes, and on
// dlTCPPort, ulTCPPort, dlIPAddress and ulIPAddress also the one blank written before it.
// "(null)" stands for an empty text. Lines may end in "\r\n" or "\n"; blank lines are skipped.
ProjectReadResult readProjectSettings(std::string_view bytes, ProjectValues& values);

// The file's bytes: the list, then the 51 keys. Empty texts are written as "(null)"; the
// twelve keys no longer used are written as 0. A line break inside a text (which no edit
// line produces) is written as a blank so the file always reads back.
std::string formatProjectSettings(const std::vector<OpenFileEntry>& entries, const ProjectValues& values);

// The number of keys in [SystemValues].
inline constexpr int kProjectKeyCount = 51;

// ---- selections -------------------------------------------------------------------------

struct RestoredSelection {
    int32_t start = 0;
    int32_t end = 0;
};

// A selection stored in a project file, fitted to a waveform of `count` points: kept when
// 0 <= start <= end, with the end cut to the last point; the whole waveform when it makes
// no sense there. nullopt when the waveform has no point.
std::optional<RestoredSelection> clampRestoredSelection(int32_t start, int32_t end, int count);

} // namespace plotwell::app
