#pragma once
// Whole-file reads and writes. A write goes to a temporary file in the target's folder that
// is then renamed over the target, so a failed write leaves the old file as it was.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plotwell::platform {

// The bytes of the regular file `path`; nullopt when it cannot be opened or read, is not a
// regular file (a FIFO, a device, a folder) or holds more than `maxBytes` bytes.
std::optional<std::string> readFileBytes(const std::string& path, std::int64_t maxBytes);
// Replaces `path` by `bytes`. False, with the old file untouched, when any step fails.
bool writeFileAtomically(const std::string& path, std::string_view bytes);
// Replaces several files together (a waveform and its side file): every temporary file is
// written first; only when all are complete are they renamed over their targets. A folder
// in a target's place is refused before anything is written.
bool writeFilesAtomically(const std::vector<std::pair<std::string, std::string_view>>& files);

} // namespace plotwell::platform
