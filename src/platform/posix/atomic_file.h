#pragma once
// Whole-file reads and writes. A write goes to a temporary file in the target's folder that
// is then renamed over the target, so a failed write leaves the old file as it was.

#include <optional>
#include <string>
#include <string_view>

namespace plotwell::platform {

// The file's bytes; nullopt when it cannot be opened or read.
std::optional<std::string> readFileBytes(const std::string& path);
// Replaces `path` by `bytes`. False, with the old file untouched, when any step fails.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace plotwell::platform
