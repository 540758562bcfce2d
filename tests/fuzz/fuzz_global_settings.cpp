// The global settings file (PWSET.INI). What is read writes back and reads back the same.
#include "app/core/settings_files.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace plotwell::app;
    const auto g = readGlobalSettings(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!g)
        return 0;
    FUZZ_CHECK(readGlobalSettings(formatGlobalSettings(*g)) == g);
    // The folder and the project name become paths: no control character may reach them.
    for (const std::string* text : {&g->HomeDir, &g->PrjFile})
        for (char c : *text)
            FUZZ_CHECK(uint8_t(c) >= 0x20 && c != 0x7F);
    return 0;
}
