#pragma once
// The body shared by the data-logger readers' targets: whatever the file, the channels
// found are numbered within the format's count, hold at least two samples, and every code
// lies in the format's range.

#include "fuzz_check.h"
#include "workspace/core/datalogger.h"
#include "workspace/core/wave_files.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace plotwell::fuzz {

using LoggerReader = bool (*)(std::string_view, std::vector<workspace::LoggerChannel>&);

inline void readLogger(LoggerReader read, int maxChannels, uint16_t maxCode, const uint8_t* data,
                       std::size_t size) {
    std::vector<workspace::LoggerChannel> channels;
    read(std::string_view(reinterpret_cast<const char*>(data), size), channels);
    FUZZ_CHECK(channels.size() <= std::size_t(maxChannels));
    for (const workspace::LoggerChannel& c : channels) {
        FUZZ_CHECK(c.number >= 1 && c.number <= maxChannels && c.codes.size() >= 2);
        FUZZ_CHECK(c.codes.size() <= std::size_t(workspace::kMaxPoints));
        for (uint16_t code : c.codes)
            FUZZ_CHECK(code <= maxCode);
    }
}

} // namespace plotwell::fuzz
