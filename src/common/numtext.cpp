#include "common/numtext.h"

#include <algorithm>

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace plotwell::common {

namespace {
locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", nullptr);
    return loc;
}

// Switches this thread to the C locale for the length of a scope.
class CLocaleScope {
public:
    CLocaleScope() : old_(uselocale(cLocale())) {}
    ~CLocaleScope() { uselocale(old_); }

private:
    locale_t old_;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

std::string cformat(const char* format, ...) {
    CLocaleScope scope;
    char small[256];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string out;
    if (n < 0) {
        va_end(copy);
        return out;
    }
    if (std::size_t(n) < sizeof small) {
        out.assign(small, std::size_t(n));
    } else {
        out.resize(std::size_t(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, copy);
        out.resize(std::size_t(n));
    }
    va_end(copy);
    return out;
}

std::optional<double> parseDoublePrefix(std::string_view text, std::size_t* used) {
    // Find the extent of a plain decimal number ourselves, so that "0x10", "inf" and
    // "nan" are never taken as numbers.
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    std::string_view num = text.substr(0, i);
    if (!num.empty() && num[0] == '+')
        num.remove_prefix(1);
    double value = 0;
    auto res = std::from_chars(num.data(), num.data() + num.size(), value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched here. Whether the number overflows or
        // underflows depends on its digits as well as its exponent ("9<340 digits>e-3" is
        // huge, "0.<400 zeros>1" is tiny), so let the C library decide, as strtod does:
        // huge numbers become infinite, tiny ones 0. The text is plain decimal by now.
        const std::string copy(num);
        value = strtod_l(copy.c_str(), nullptr, cLocale());
    } else if (res.ec != std::errc()) {
        return std::nullopt;
    }
    if (used)
        *used = i;
    return value;
}

namespace {
// The characters a hexadecimal number can be made of after its "0x": digits, the point, the
// exponent mark and the exponent's sign.
bool inHexNumber(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '.' || c == 'p' ||
           c == 'P' || c == '+' || c == '-';
}
} // namespace

std::optional<double> parseDoubleOrHexPrefix(std::string_view text, std::size_t* used) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    if (text.size() < i + 2 || text[i] != '0' || (text[i + 1] != 'x' && text[i + 1] != 'X'))
        return parseDoublePrefix(text, used);
    // Hexadecimal is rare: let the C library read it, from a copy that holds all a hexadecimal
    // number can take, so that its rounding, its range and where it stops ("0xg" reads "0")
    // are the library's own. The C locale keeps '.' the point.
    std::size_t end = i + 2;
    while (end < text.size() && inHexNumber(text[end]))
        ++end;
    const std::string copy(text.substr(0, end));
    char* stop = nullptr;
    const double value = strtod_l(copy.c_str(), &stop, cLocale());
    if (used)
        *used = std::size_t(stop - copy.c_str());
    return value;
}

std::optional<int32_t> parseIntPrefix(std::string_view text, std::size_t* used, bool* saturated) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t first = i;
    int64_t v = 0;
    while (i < text.size() && isDigit(text[i])) {
        if (v <= int64_t(std::numeric_limits<int32_t>::max()) + 1)
            v = v * 10 + (text[i] - '0');
        ++i;
    }
    if (i == first)
        return std::nullopt;
    if (negative)
        v = -v;
    const int64_t held =
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    if (saturated)
        *saturated = held != v;
    v = held;
    if (used)
        *used = i;
    return int32_t(v);
}

namespace {
std::string_view skipBlanks(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    return t;
}
} // namespace

std::optional<int32_t> parseLeadingInt(std::string_view text, bool* saturated) {
    return parseIntPrefix(skipBlanks(text), nullptr, saturated);
}

std::optional<double> parseLeadingDouble(std::string_view text) {
    return parseDoublePrefix(skipBlanks(text));
}

std::optional<double> parseDouble(std::string_view text) {
    text = skipBlanks(text);
    std::size_t used = 0;
    auto v = parseDoublePrefix(text, &used);
    if (!v || used != text.size())
        return std::nullopt;
    return v;
}

std::optional<int32_t> parseInt(std::string_view text) {
    text = skipBlanks(text);
    std::size_t used = 0;
    auto v = parseIntPrefix(text, &used);
    if (!v || used != text.size())
        return std::nullopt;
    return v;
}

} // namespace plotwell::common
