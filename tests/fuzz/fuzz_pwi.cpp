// History side files (.pwi): one generation per line. What is read writes back and reads
// back the same.
#include "fuzz_check.h"
#include "workspace/core/history_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace plotwell::workspace;
    const auto entries = ReadHistoryFile(std::string_view(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(ReadHistoryFile(WriteHistoryFile(entries)) == entries);
    return 0;
}
