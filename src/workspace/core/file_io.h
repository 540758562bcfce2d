#pragma once
// Whole-file reads and writes that never lose a file: a write goes to a temporary file in
// the target's folder and is renamed over the target only when it is complete.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plotwell::workspace {

// Reads the whole file. False when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// Writes each (path, bytes) pair: all temporary files are written and flushed first, then
// renamed over their targets in order. When any temporary file cannot be written, none of
// the targets is touched. False on any failure.
bool WriteFilesReplacing(const std::vector<std::pair<std::string, std::string_view>>& files);

inline bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
    return WriteFilesReplacing({{path, bytes}});
}

} // namespace plotwell::workspace
