#pragma once
// Pure parsers of what instruments send back: definite-length block headers, reply
// fields and comma-separated value runs. Replies are untrusted: every parser checks its
// lengths and ranges and answers "not valid" rather than guess.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plotwell::transfer {

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

// The integer at the start of a reply such as "4096\n" or "-1\r\n" (leading blanks
// skipped); nullopt when the reply does not start with a number.
std::optional<int32_t> replyInteger(std::string_view reply);

// Field `index` (0 first) of a comma-separated reply line read as an integer, as
// "%*[^','],%*[^','],%d" reads the third; nullopt when the field is missing or not a
// number.
std::optional<int32_t> replyIntegerField(std::string_view reply, int index);

// The first comma-separated field, at most `limit` characters ("%256[^,]").
std::string replyFirstField(std::string_view reply, std::size_t limit = 256);

// A run of comma-separated decimal integers ending at the end of `text` or at a line
// feed (a CR before it is allowed). Each value must lie in [lo, hi] and be at most
// `maxDigits` characters; at most `maxValues` values. False on anything else.
bool parseCsvValues(std::string_view text, std::vector<int32_t>& values, std::size_t maxValues, int32_t lo,
                    int32_t hi, std::size_t maxDigits = 8);

} // namespace plotwell::transfer
