#pragma once
// IEEE 488.2 definite-length blocks, "#<d><count><bytes>", as instruments send curves and
// as .isf files hold them. Their headers come from outside: the parser checks every digit
// and the count against a limit before anyone reads the bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace plotwell::common {

// "#<d><count>": d is one digit 1-9 giving the number of count digits.
std::string blockHeader(std::size_t count);

enum class BlockHeaderStatus {
    Ok,
    Incomplete, // fewer bytes than the header needs
    NoHash,     // the first byte is not '#'
    BadDigits,  // d is not 1-9, or a count digit is not decimal
    TooLarge,   // the count exceeds the limit
    NotWhole,   // the count is not a whole number of points
};

struct BlockHeaderParse {
    BlockHeaderStatus status = BlockHeaderStatus::Incomplete;
    std::size_t headerSize = 0; // bytes of "#<d><count>"
    std::size_t count = 0;      // data bytes announced
    bool ok() const { return status == BlockHeaderStatus::Ok; }
};

// Parses a header at the start of `bytes`. The count must be at most `maxCount` and a
// multiple of `unit` (the bytes of one point).
BlockHeaderParse parseBlockHeader(std::string_view bytes, std::size_t maxCount, std::size_t unit = 1);

} // namespace plotwell::common
