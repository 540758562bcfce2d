// Definite-length block headers ("#<d><count>") in instrument replies.
#include "common/block_header.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace plotwell::common;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The limits the transfers use: bytes of up to a million two-byte points, or one-byte
    // points, and the smallest limits.
    constexpr std::size_t kMax = 2 * 1048576;
    for (std::size_t unit : {std::size_t(1), std::size_t(2), std::size_t(4)}) {
        for (std::size_t max : {kMax, std::size_t(0), std::size_t(1)}) {
            const BlockHeaderParse p = parseBlockHeader(bytes, max, unit);
            if (!p.ok())
                continue;
            FUZZ_CHECK(p.headerSize >= 3 && p.headerSize <= 11 && p.headerSize <= size);
            FUZZ_CHECK(p.count <= max && p.count % unit == 0);
            // The header we would send for that count reads back the same.
            const std::string h = blockHeader(p.count);
            const BlockHeaderParse q = parseBlockHeader(h, max, unit);
            FUZZ_CHECK(q.ok() && q.count == p.count && q.headerSize == h.size());
        }
    }
    return 0;
}
