// GS2020 .arb files.
#include "wave_file_fuzz.h"
PW_WAVE_FILE_FUZZ(plotwell::workspace::ReadGs2020Arb)
