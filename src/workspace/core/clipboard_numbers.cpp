#include "workspace/core/clipboard_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace plotwell::workspace {

namespace detail {

bool isTokenStart(char c) {
    return c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9');
}

// The leading part of the token that forms a number, as the C library reads it; a token
// with no such part (".", "-e5") reads 0.
double tokenValue(const char* first, const char* last) {
    if (first < last && *first == '+')
        ++first;
    double v = 0;
    const auto r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // A token is at most 99 characters, so only its exponent takes it out of range: a
        // negative one toward 0 (as the C library reads it), a positive one to infinity.
        const char* e = std::find_if(first, r.ptr, [](char c) { return c == 'e' || c == 'E'; });
        const bool tiny = e + 1 < r.ptr && e[1] == '-';
        return tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    if (r.ec != std::errc())
        return 0;
    return v;
}

} // namespace detail

void appendCopyText(std::span<const uint16_t> codes, uint16_t reference, std::string& out) {
    const int32_t r = reference == 1 ? 32768 : reference;
    const float fr = float(r);
    std::size_t at = out.size();
    // Values reach 65535 / 2 at most: 5 integer digits, a sign, a point, 5 decimals, a line end.
    out.resize(at + codes.size() * 13);
    char* p = out.data() + at;
    for (uint16_t code : codes) {
        const float f = float(int32_t(code) - r) / fr;
        // A float has 24 significant bits, so f x 100000 is exact in a double and rounding it
        // to an integer (to nearest, ties to even, as printf does) gives the five decimals.
        const double scaled = std::nearbyint(double(f) * 100000.0);
        *p++ = std::signbit(scaled) ? '-' : '+';
        auto q = uint64_t(std::fabs(scaled));
        const uint64_t whole = q / 100000;
        uint32_t frac = uint32_t(q % 100000);
        p = std::to_chars(p, p + 6, whole).ptr;
        *p++ = '.';
        for (int k = 4; k >= 0; --k) {
            p[k] = char('0' + frac % 10);
            frac /= 10;
        }
        p += 5;
        *p++ = '\n';
    }
    out.resize(std::size_t(p - out.data()));
}

const char* ClipboardWaveform::refusal() const {
    switch (status) {
    case Status::TooMany:
        return kTooManyNumbersText;
    case Status::TooLong:
        return kTooLongClipboardText;
    default:
        return nullptr;
    }
}

ClipboardWaveform clipboardWaveform(std::string_view text, int64_t maxCount) {
    ClipboardWaveform result;
    if (text.size() > kMaxClipboardText) {
        result.status = ClipboardWaveform::Status::TooLong;
        return result;
    }
    // Pass 1: how many numbers, and the largest magnitude.
    double m = 0;
    int64_t n = 0;
    scanNumbers(text, [&](double v) {
        ++n;
        m = std::max(m, std::fabs(v));
    });
    result.count = n;
    if (n > maxCount) {
        result.status = ClipboardWaveform::Status::TooMany;
        return result;
    }
    if (n < 2)
        return result;
    // Pass 2: the codes.
    result.samples = SampleStream(1, std::size_t(n), 32768);
    uint16_t* code = result.samples.codes().data();
    if (m > 0)
        scanNumbers(text,
                    [&](double v) { *code++ = uint16_t(int32_t(std::trunc(v / m * 32767.0)) + 32768); });
    result.status = ClipboardWaveform::Status::Ok;
    return result;
}

} // namespace plotwell::workspace
