// Comma-separated value runs uploaded from instruments.
#include "fuzz_check.h"
#include "transfer/core/replies.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace plotwell::transfer;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    struct Limits {
        std::size_t maxValues;
        int32_t lo, hi;
        std::size_t maxDigits;
    };
    for (const Limits& l : {Limits{1048576, -32768, 32767, 8}, Limits{16, 0, 4095, 4}, Limits{0, 0, 0, 1},
                            Limits{1048576, INT32_MIN, INT32_MAX, 11}}) {
        std::vector<int32_t> values;
        if (!parseCsvValues(text, values, l.maxValues, l.lo, l.hi, l.maxDigits))
            continue;
        FUZZ_CHECK(values.size() <= l.maxValues);
        for (int32_t v : values)
            FUZZ_CHECK(v >= l.lo && v <= l.hi);
    }
    return 0;
}
