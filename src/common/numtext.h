#pragma once
// Locale-free number text. The program always writes and reads '.' as the decimal
// separator, whatever LC_NUMERIC says, and reads hexadecimal only where another program's
// file may hold it (parseDoubleOrHexPrefix).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plotwell::common {

// printf-style formatting under the C locale.
std::string cformat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Parses a decimal number at the start of `text` (optional sign, digits, '.', exponent).
// Returns the value and sets `used` to the characters taken; nullopt when none.
std::optional<double> parseDoublePrefix(std::string_view text, std::size_t* used = nullptr);
// The same, but as the C library's conversion reads it in the C locale, so hexadecimal
// ("0x1F", "-0x1.8p3") too. Infinity and NaN texts are still no number.
std::optional<double> parseDoubleOrHexPrefix(std::string_view text, std::size_t* used = nullptr);
// Parses a signed decimal integer at the start of `text`, saturating at the int32 range;
// `saturated`, when given, tells whether it had to.
std::optional<int32_t> parseIntPrefix(std::string_view text, std::size_t* used = nullptr,
                                      bool* saturated = nullptr);
// Blanks (spaces and tabs) skipped, then parseIntPrefix: "  42 V" reads as 42, as a
// reply, a data-logger field or a typed count is read by "%d".
std::optional<int32_t> parseLeadingInt(std::string_view text, bool* saturated = nullptr);
// The same for a decimal number: "  2.5 V" reads as 2.5.
std::optional<double> parseLeadingDouble(std::string_view text);
// Whole-text forms: leading blanks are skipped; the rest must be the number.
std::optional<double> parseDouble(std::string_view text);
std::optional<int32_t> parseInt(std::string_view text);

} // namespace plotwell::common
