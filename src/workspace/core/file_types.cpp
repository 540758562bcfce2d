#include "workspace/core/file_types.h"

namespace plotwell::workspace {

const char* FileTypeName(int type) {
    switch (type) {
    case 0: return "";
    case 1: return "PlotWell";
    case 2:
    case 3: return "WaveCAD";
    case 4: return "Normalised";
    case 5:
    case 6:
    case 7: return "GS2020";
    case 9: return "Tektronix";
    case 10:
    case 11: return "ZELO";
    case 13: return "PlotWell Bit Pattern";
    default: return "Unknown";
    }
}

const char* FileTypeDescription(int type) {
    switch (type) {
    case 1: return "Plotwell (*.wfm files)";
    case 2: return "WaveCAD (*.wav files)";
    case 3: return "WaveCAD (*.asc files)";
    case 4: return "Normalised (*.nrm files)";
    case 5: return "GS2020 (*.sig files)";
    case 6: return "GS2020 (*.asc files)";
    case 7: return "GS2020 (*.arb files)";
    case 9: return "Tektronix TDS (*.isf files)";
    case 10: return "ZELO (*.dta files)";
    case 11: return "ZELO (*.dac files)";
    default: return "Unknown";
    }
}

} // namespace plotwell::workspace
