// Expression library files: every line read is an entry that recalls without overrun, and
// what was read is written back and read again unchanged.
#include "fuzz_check.h"
#include "synthesis/core/expression_library.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace plotwell::synthesis;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = ReadLibrary(bytes);
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.size() <= kLibraryLineMax);
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(RecallExpression(line).size() < line.size());
    }
    FUZZ_CHECK(ReadLibrary(WriteLibrary(lines)) == lines);
    std::vector<std::string> sorted;
    for (const std::string& line : lines)
        sorted.insert(sorted.begin() + std::ptrdiff_t(LibrarySortedIndex(sorted, line)), line);
    FUZZ_CHECK(sorted.size() == lines.size());
    return 0;
}
