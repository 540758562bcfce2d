// Project settings files (<project>.INI): the windows to reopen and the transfer
// settings. What is read writes back, and the file written is a fixed point: it reads
// back to values that write the same file. (Not the same values: a line break inside a
// text, which only a damaged file holds, is written as a blank.)
#include "app/core/settings_files.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace plotwell::app;
    ProjectValues values;
    const ProjectReadResult r =
        readProjectSettings(std::string_view(reinterpret_cast<const char*>(data), size), values);
    for (const OpenFileEntry& e : r.entries) {
        // A listed name can only be one a file can have: no control character, no longer
        // than the system's path limit.
        FUZZ_CHECK(e.WaveName.size() <= 4096);
        for (char c : e.WaveName)
            FUZZ_CHECK(uint8_t(c) >= 0x20 && c != 0x7F);
        // A stored selection is fitted to whatever the file turns out to hold.
        for (int count : {0, 1, 1000}) {
            const auto sel = clampRestoredSelection(e.SelectionStart, e.SelectionEnd, count);
            FUZZ_CHECK(count < 1 ? !sel
                                 : sel && 0 <= sel->start && sel->start <= sel->end && sel->end < count);
        }
    }
    if (r.ok) {
        const std::string written = formatProjectSettings(r.entries, values);
        ProjectValues again;
        const ProjectReadResult back = readProjectSettings(written, again);
        FUZZ_CHECK(back.ok);
        FUZZ_CHECK(back.entries.size() == r.entries.size());
        FUZZ_CHECK(formatProjectSettings(back.entries, again) == written);
    }
    return 0;
}
