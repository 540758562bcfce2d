#pragma once
// WaveFileType codes and their names.

#include <string>

namespace plotwell::workspace {

enum WaveFileType : int {
    ftOverwritten = -1, // data not from a file, or a file overwritten from another window
    ftFurtherChannel = -2, // a further channel of a multi-channel data-logger file
    ftNone = 0,
    ftInternal = 1,     // own .wfm
    ftWaveCadWav = 2,
    ftWaveCadAsc = 3,
    ftNormalised = 4,   // .nrm
    ftGs2020Sig = 5,
    ftGs2020Asc = 6,
    ftGs2020Arb = 7,
    ftTektronix = 9,    // .isf
    ftZeloDta = 10,
    ftZeloDac = 11,
    ftCsv = 12,
    ftBitPattern = 13,  // .ptn
};

// Settings, project and history side files are small texts; a larger one is damaged or
// hostile and is refused before it is read.
inline constexpr long long kMaxSettingsFileBytes = 1 << 20;

// Used in captions after a load or save ("PlotWell", "WaveCAD", ...).
const char* FileTypeName(int type);
// Used in the frame's default-type label ("Plotwell (*.wfm files)", ...).
const char* FileTypeDescription(int type);

} // namespace plotwell::workspace
