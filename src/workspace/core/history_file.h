#pragma once
// The history side file "<waveform file>.pwi": one generation per line,
// "start end amplitude offset levelmode expression\r\n". The first five are single words;
// the expression takes the rest of the line and may hold blanks.

#include "workspace/core/wave_document.h"

#include <string>
#include <string_view>
#include <vector>

namespace plotwell::workspace {

// The side file's name for a waveform file.
std::string HistoryFileName(const std::string& waveFile);

// Reads whole lines of any length; only the line end ("\r\n" or "\n") is stripped from the
// expression. Blank lines are passed over; reading stops at the first line with fewer than
// five words. Returns the complete entries.
std::vector<GenerationEntry> ReadHistoryFile(std::string_view bytes);

std::string WriteHistoryFile(const std::vector<GenerationEntry>& entries);

} // namespace plotwell::workspace
