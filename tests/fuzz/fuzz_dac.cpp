// Data-logger files (.dac): up to 4 channels of tab-separated samples, codes 0..3999.
#include "logger_file_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    plotwell::fuzz::readLogger(plotwell::workspace::ReadZeloDac, 4, 3999, data, size);
    return 0;
}
