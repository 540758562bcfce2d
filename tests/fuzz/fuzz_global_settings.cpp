// The global settings file (PWSET.INI). What is read writes back and reads back the same.
#include "fuzz_check.h"
#include "app/core/settings_files.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace plotwell::workspace;
    const auto g = readGlobalSettings(std::string_view(reinterpret_cast<const char*>(data), size));
    if (g)
        FUZZ_CHECK(readGlobalSettings(formatGlobalSettings(*g)) == g);
    return 0;
}
