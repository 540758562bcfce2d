// WaveCAD and GS2020 .asc files (one reader for both).
#include "wave_file_fuzz.h"
PW_WAVE_FILE_FUZZ(plotwell::workspace::ReadWaveCadAsc)
