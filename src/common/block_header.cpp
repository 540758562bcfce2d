#include "common/block_header.h"

#include <cstdint>

namespace plotwell::common {

std::string blockHeader(std::size_t count) {
    const std::string digits = std::to_string(count);
    // Appended piece by piece: GCC 12 at -O3 raises a false -Wrestrict on "#" + std::string.
    std::string header = "#";
    header += std::to_string(digits.size());
    header += digits;
    return header;
}

BlockHeaderParse parseBlockHeader(std::string_view bytes, std::size_t maxCount, std::size_t unit) {
    BlockHeaderParse p;
    if (bytes.empty())
        return p;
    if (bytes[0] != '#') {
        p.status = BlockHeaderStatus::NoHash;
        return p;
    }
    if (bytes.size() < 2)
        return p;
    const char d = bytes[1];
    if (d < '1' || d > '9') {
        p.status = BlockHeaderStatus::BadDigits;
        return p;
    }
    const std::size_t digits = std::size_t(d - '0');
    if (bytes.size() < 2 + digits) {
        // Report bad digits as soon as they are seen, so a reader can stop early.
        for (std::size_t i = 2; i < bytes.size(); ++i)
            if (bytes[i] < '0' || bytes[i] > '9')
                p.status = BlockHeaderStatus::BadDigits;
        return p;
    }
    // Nine digits cannot overflow 64 bits.
    std::uint64_t count = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const char c = bytes[2 + i];
        if (c < '0' || c > '9') {
            p.status = BlockHeaderStatus::BadDigits;
            return p;
        }
        count = count * 10 + std::uint64_t(c - '0');
    }
    p.headerSize = 2 + digits;
    if (count > maxCount) {
        p.status = BlockHeaderStatus::TooLarge;
        return p;
    }
    p.count = std::size_t(count);
    p.status = (unit > 1 && p.count % unit != 0) ? BlockHeaderStatus::NotWhole : BlockHeaderStatus::Ok;
    return p;
}

} // namespace plotwell::common
