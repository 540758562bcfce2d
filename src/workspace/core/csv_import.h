#pragma once
// Reading one column of a comma-separated text file as waveform codes, without widgets:
// where the data start (one header line is skipped when none of its fields begins like a
// number), how many columns the first data line has, the two conversion passes and the
// min/max thumbnail polyline.

#include "workspace/core/limits.h"
#include "workspace/core/sample_stream.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace plotwell::workspace {

// The largest file read: room for a million rows of several columns.
inline constexpr int64_t kCsvMaxFileBytes = int64_t(512) << 20;
// The most columns the dialog offers. A row that reaches column k holds at least 2k bytes
// (k fields of one character, their commas and a line end), so in the largest file read a
// column past this one cannot hold a whole waveform of kMaxPoints rows; and a list of
// one entry per comma of a line megabytes long would take gigabytes.
inline constexpr int kCsvMaxColumns = int(kCsvMaxFileBytes / (2 * int64_t(kMaxPoints)));
static_assert(kCsvMaxColumns == 256);
// The progress steps once per this many points.
inline constexpr int kCsvProgressPoints = 4000;

struct CsvLayout {
    std::size_t dataStart = 0; // offset of the first data line
    int columns = 1;           // commas of the first data line + 1
};

// Finds the first data line and counts its columns.
CsvLayout CsvFindLayout(std::string_view text);

struct CsvColumn {
    SampleStream preview; // reference word 32768, then one code per numeric row
    int pointCount = 0;   // numeric rows of the column
    bool illegalRows = false;
    bool tooLong = false; // more than kMaxPoints numeric rows: no preview
};

// Converts column `column` (0 = the first) of the data text (from the data start on).
// `stage` is called with 1 and 2 as each pass begins, `step` every kCsvProgressPoints
// points of either pass; both may be empty.
CsvColumn CsvConvertColumn(std::string_view data, int column, const std::function<void(int)>& stage = {},
                           const std::function<void()>& step = {});

// Open as Bit Pattern: codes above 32768 become 65535, all others 0 (the reference word stays).
void CsvToBitPattern(SampleStream& samples);

struct CsvPoint {
    int32_t x = 0, y = 0;
    bool operator==(const CsvPoint&) const = default;
};

// The thumbnail of `codes` in a picture of w x h pixels: the first vertex is where the pen
// starts, each further one is a line to it. Empty when there is nothing to draw.
std::vector<CsvPoint> CsvThumbnail(std::span<const uint16_t> codes, int w, int h);

} // namespace plotwell::workspace
