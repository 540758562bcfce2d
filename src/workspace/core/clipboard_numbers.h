#pragma once
// The waveform's numbers as clipboard text, and numbers read back from any clipboard text.
//
// Copy writes one "%+7.5f\n" line per point: (code - R'') / R'' in single precision, with
// R'' = R, or 32768 for normalised data. Reading takes tokens made of digits, '.', signs
// and exponents from text of any shape (lines, commas, blanks, words in between) and turns
// them into a normalised waveform whose largest magnitude reaches full scale.

#include "workspace/core/limits.h"
#include "workspace/core/sample_stream.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace plotwell::workspace {

// Appends the copy lines of `codes` (reference word `reference`) to `out`. The text is
// exactly what printf("%+7.5f\n", value) gives, without a printf per point.
void appendCopyText(std::span<const uint16_t> codes, uint16_t reference, std::string& out);

// Longest token the scanner converts; a longer one is skipped whole.
inline constexpr std::size_t kMaxNumberToken = 99;
// What a paste says when the clipboard holds more numbers than a waveform takes.
inline constexpr const char* kTooManyNumbersText =
    "The clipboard holds more than 1048576 numbers,\ntoo many for one waveform.";
static_assert(kMaxPoints == 1048576, "kTooManyNumbersText spells the limit");
// The longest clipboard text a paste takes: room for as many numbers as a waveform takes,
// each as long as the scanner converts and on a line of its own ended by CR LF. A longer
// text is refused whole, never cut: a cut would lose numbers without a word.
inline constexpr std::size_t kMaxClipboardText = std::size_t(kMaxPoints) * (kMaxNumberToken + 2);
static_assert(kMaxClipboardText == 105906176);
// What a paste says when the clipboard text is longer than that.
inline constexpr const char* kTooLongClipboardText =
    "The clipboard text is longer than 105906176 characters,\ntoo long to paste.";

// Calls `take(value)` for every number in `text`, in order. Tokens start at '+', '-', '.'
// or a digit; a sign may follow only an exponent's 'e' and a point only once before the
// exponent. A token that breaks a rule is dropped and the scan goes on at the character that
// broke it; so "1-2" reads -2, "1.2.3" reads 0.3 and "1e5-3" reads -3. A lone sign is no
// number; "." reads 0. Values that are not finite ("1e999") are dropped.
template <class Take> void scanNumbers(std::string_view text, Take&& take);

// The numbers of `text` as a normalised stream (reference word 1): each number v becomes
// trunc(v / M x 32767) + 32768, M being the largest magnitude (32768 for all when M is 0).
// A text longer than kMaxClipboardText is refused unread (TooLong): read the clipboard with
// one character more than that, so a longer text is seen.
struct ClipboardWaveform {
    enum class Status { Ok, TooFew, TooMany, TooLong };
    Status status = Status::TooFew;
    int64_t count = 0;    // the numbers found (counting stops past the limit)
    SampleStream samples; // empty unless Ok
    // The message for TooMany and TooLong (the paste's own text for TooFew); null otherwise.
    const char* refusal() const;
};
ClipboardWaveform clipboardWaveform(std::string_view text, int64_t maxCount = kMaxPoints);

namespace detail {
double tokenValue(const char* first, const char* last);
bool isTokenStart(char c);
} // namespace detail

template <class Take> void scanNumbers(std::string_view text, Take&& take) {
    const char* p = text.data();
    const char* const end = p + text.size();
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    while (p < end) {
        if (!detail::isTokenStart(*p)) {
            ++p;
            continue;
        }
        const char* const first = p;
        bool point = *p == '.', mantissa = *p != '.', inExponent = false, exponentDigit = false;
        bool bad = false;
        ++p;
        // The character after the token's last one decides whether the token goes on.
        while (p < end) {
            const char c = *p;
            if (c == '+' || c == '-') {
                if (!inExponent || exponentDigit) {
                    bad = true;
                    break;
                }
            } else if (c == '.') {
                if (point || inExponent) {
                    bad = true;
                    break;
                }
                point = true;
            } else if (digit(c)) {
                mantissa = true;
                if (inExponent)
                    exponentDigit = true;
            } else if (c == 'e' || c == 'E') {
                if (!mantissa || inExponent) {
                    bad = true;
                    break;
                }
                inExponent = true;
            } else {
                break;
            }
            ++p;
        }
        // A bad token is dropped; p stays on the character that made it bad. An overlong one
        // is dropped too, but whole: its remaining characters are never read as a new number.
        if (bad || std::size_t(p - first) > kMaxNumberToken)
            continue;
        if (p - first == 1 && (*first == '+' || *first == '-'))
            continue;
        const double v = detail::tokenValue(first, p);
        if (v - v == 0) // finite
            take(v);
    }
}

} // namespace plotwell::workspace
