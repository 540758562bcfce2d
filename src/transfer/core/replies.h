#pragma once
// Pure parsers of what instruments send back: reply fields and comma-separated value runs
// (block headers are read by common/block_header.h). Replies are untrusted: every parser
// checks its lengths and ranges and answers "not valid" rather than guess.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plotwell::transfer {

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
