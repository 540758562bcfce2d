// CSV files imported as a waveform: header detection, both passes, the bit-pattern option
// and the thumbnail. The first byte chooses the column, the second the options and the
// thumbnail's size; the rest is the file.
#include "fuzz_check.h"
#include "workspace/core/csv_import.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace plotwell::workspace;
    if (size < 2)
        return 0;
    const int chosen = data[0];
    const uint8_t options = data[1];
    const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);

    const CsvLayout layout = CsvFindLayout(text);
    FUZZ_CHECK(layout.dataStart <= text.size());
    FUZZ_CHECK(layout.columns >= 1);
    const int column = chosen % (layout.columns + 1); // one past the last column too
    CsvColumn col = CsvConvertColumn(text.substr(layout.dataStart), column);
    if (col.tooLong)
        return 0;
    FUZZ_CHECK(col.preview.count() == col.pointCount);
    FUZZ_CHECK(col.preview.reference() == 32768);
    for (uint16_t c : col.preview.codes())
        FUZZ_CHECK(c <= 65534);
    if (options & 1) {
        CsvToBitPattern(col.preview);
        for (uint16_t c : col.preview.codes())
            FUZZ_CHECK(c == 0 || c == 65535);
    }
    const int w = 2 + (options >> 1) % 64, h = 4 + (options >> 4);
    for (const CsvPoint& p : CsvThumbnail(col.preview.codes(), w, h))
        FUZZ_CHECK(p.x >= 1 && p.x < w && p.y >= 2 && p.y <= h - 2);
    return 0;
}
