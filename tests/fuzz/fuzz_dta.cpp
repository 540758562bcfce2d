// Data-logger files (.dta): up to 8 channels of tab-separated samples, codes 0..4095.
#include "logger_file_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    plotwell::fuzz::readLogger(plotwell::workspace::ReadZeloDta, 8, 4095, data, size);
    return 0;
}
