// Tektronix .isf files.
#include "wave_file_fuzz.h"
PW_WAVE_FILE_FUZZ(plotwell::workspace::ReadTektronixIsf)
