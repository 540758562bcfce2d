// Expression library files: every line read is an entry that recalls without overrun and
// holds the file's own bytes; what was read is written back and read again unchanged; and
// lines added in one go (a load, an import) take the places that adding them one by one
// gives.
#include "fuzz_check.h"
#include "synthesis/core/expression_library.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace plotwell::synthesis;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = ReadLibrary(bytes);
    std::size_t from = 0;
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.size() <= kLibraryLineMax);
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(RecallExpression(line).size() < line.size());
        // Byte for byte as the file holds it, in the file's order.
        from = bytes.find(line, from);
        FUZZ_CHECK(from != std::string_view::npos);
        from += line.size();
    }
    std::size_t skipped = 1;
    FUZZ_CHECK(ReadLibrary(WriteLibrary(lines), &skipped) == lines);
    FUZZ_CHECK(skipped == 0);

    // The file loaded, then imported into itself with one entry chosen.
    std::vector<std::string> loaded;
    AddToLibrary(loaded, lines);
    std::vector<std::string> imported = loaded;
    const std::size_t row = loaded.empty() ? 0 : size % loaded.size();
    const std::size_t movedTo = AddToLibrary(imported, lines, row);
    FUZZ_CHECK(imported.size() == 2 * lines.size());
    FUZZ_CHECK(loaded.empty() ? movedTo == 0 : imported[movedTo] == loaded[row]);
    // One by one is quadratic: only for files of a modest number of lines.
    if (lines.size() <= 300) {
        std::vector<std::string> oneByOne;
        for (const std::vector<std::string>* expected : {&loaded, &imported}) {
            for (const std::string& line : lines)
                oneByOne.insert(oneByOne.begin() + std::ptrdiff_t(LibrarySortedIndex(oneByOne, line)), line);
            FUZZ_CHECK(oneByOne == *expected);
        }
    }
    return 0;
}
