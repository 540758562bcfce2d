#pragma once
// The data-logger files of the ZELO logging application: tab-separated text, line 1 with
// one header field per channel (an empty field: no channel), then one sample per channel
// per line.
//   .dta: up to 8 channels; the header is a flag, 0 for signed 12-bit samples (code =
//         value + 2048), else unsigned codes; R 2048, codes 0..4095.
//   .dac: up to 4 channels; the header is the channel's sample count (0: no channel); a
//         sample beginning with "-" is 0; R 2000, codes 0..3999.

#include <cstdint>
#include <string_view>
#include <vector>

namespace plotwell::workspace {

struct LoggerChannel {
    int number = 0;              // 1-based channel number
    uint16_t reference = 0;      // 2048 (.dta) or 2000 (.dac)
    uint8_t unsignedDisplay = 0; // 1 for unsigned codes: a .dta flag other than 0, every .dac
    std::vector<uint16_t> codes;
};

// Both read whole lines of any length ("\r\n" or "\n" ends a line). They return false when
// the first or the second line is missing. `channels` receives, in channel order, the
// channels that hold at least two samples (a shorter one gets no window of its own). A
// code that would be negative is 0.
bool ReadZeloDta(std::string_view bytes, std::vector<LoggerChannel>& channels);
bool ReadZeloDac(std::string_view bytes, std::vector<LoggerChannel>& channels);

} // namespace plotwell::workspace
