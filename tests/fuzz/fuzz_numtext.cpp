// Number text from files, the clipboard and edit boxes. Besides not crashing, the
// parsers must agree with the C library read under the C locale, take only plain decimal
// text (never hexadecimal, "inf" or "nan"), and read back what cformat writes. The reading
// for other programs' files takes hexadecimal too, and then agrees with the C library on
// the whole text.

#include "common/numtext.h"
#include "fuzz_check.h"

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>
#include <string_view>

using namespace plotwell::common;

namespace {
locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return loc;
}

bool plainDecimal(std::string_view s) {
    return s.find_first_not_of("+-.0123456789eE") == std::string_view::npos;
}

void checkDouble(std::string_view text) {
    std::size_t used = 0;
    const auto v = parseDoublePrefix(text, &used);
    if (!v)
        return;
    FUZZ_CHECK(used > 0 && used <= text.size());
    const std::string prefix(text.substr(0, used));
    FUZZ_CHECK(plainDecimal(prefix));
    FUZZ_CHECK(!std::isnan(*v));
    char* end = nullptr;
    const double expected = strtod_l(prefix.c_str(), &end, cLocale());
    FUZZ_CHECK(end == prefix.c_str() + prefix.size());
    FUZZ_CHECK(*v == expected);
    // What we write, we read back exactly.
    if (std::isfinite(*v)) {
        const std::string written = cformat("%.17g", *v);
        const auto back = parseDouble(written);
        FUZZ_CHECK(back && *back == *v);
    }
}

void checkDoubleOrHex(std::string_view text) {
    // The C library skips leading blanks; our fields never begin with one.
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
        return;
    const std::string whole(text);
    char* end = nullptr;
    const double expected = strtod_l(whole.c_str(), &end, cLocale());
    std::size_t used = 0;
    const auto v = parseDoubleOrHexPrefix(text, &used);
    if (!v) {
        // No number, or infinity or NaN, which are never read.
        FUZZ_CHECK(end == whole.c_str() || !std::isfinite(expected));
        return;
    }
    FUZZ_CHECK(used == std::size_t(end - whole.c_str()));
    FUZZ_CHECK(*v == expected && std::signbit(*v) == std::signbit(expected));
}

void checkInt(std::string_view text) {
    std::size_t used = 0;
    const auto v = parseIntPrefix(text, &used);
    if (!v)
        return;
    FUZZ_CHECK(used > 0 && used <= text.size());
    const std::string prefix(text.substr(0, used));
    FUZZ_CHECK(prefix.find_first_not_of("+-0123456789") == std::string::npos);
    // strtoll saturates at 64 bits; clamp that to 32 as the parser does.
    const long long wide = std::strtoll(prefix.c_str(), nullptr, 10);
    const long long clamped = wide > INT32_MAX ? INT32_MAX : wide < INT32_MIN ? INT32_MIN : wide;
    FUZZ_CHECK(*v == clamped);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkDouble(text);
    checkDoubleOrHex(text);
    checkInt(text);
    // The whole-text forms take exactly what the prefix forms take, after leading blanks.
    if (const auto d = parseDouble(text)) {
        std::size_t skip = text.find_first_not_of(" \t");
        std::size_t used = 0;
        FUZZ_CHECK(parseDoublePrefix(text.substr(skip), &used) == d && skip + used == text.size());
    }
    if (const auto i = parseInt(text)) {
        std::size_t skip = text.find_first_not_of(" \t");
        std::size_t used = 0;
        FUZZ_CHECK(parseIntPrefix(text.substr(skip), &used) == i && skip + used == text.size());
    }
    return 0;
}
