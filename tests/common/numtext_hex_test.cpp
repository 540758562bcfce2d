// Numbers read as the C library's conversion reads them, hexadecimal included, as comma-separated
// files from other programs write them.

#include "common/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

using plotwell::common::parseDoubleOrHexPrefix;

TEST(NumTextHex, ReadsAsTheStandardConversion) {
    struct Case {
        std::string text;
        std::optional<double> value;
        std::size_t used;
    };
    const std::vector<Case> cases = {
        {"0x10", 16.0, 4},
        {"0x1F,2", 31.0, 4},
        {"-0x10", -16.0, 5},
        {"+0X1f", 31.0, 5},
        {"0x1.8p3", 12.0, 7},
        {"0x.8", 0.5, 4},
        {"0x1p-2", 0.25, 6},
        {"0x1P+2\r", 4.0, 6},
        {"0x1p", 1.0, 3},
        {"0x", 0.0, 1},
        {"0xg", 0.0, 1},
        {"-0x.p1", -0.0, 2},
        {"0x1p99999", HUGE_VAL, 9},
        {"1.5e3", 1500.0, 5},
        {"-.25", -0.25, 4},
        {"017", 17.0, 3},
        {"-inf", std::nullopt, 0},
        {"+nan", std::nullopt, 0},
        {"x10", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::size_t used = 0;
        const auto v = parseDoubleOrHexPrefix(c.text, &used);
        ASSERT_EQ(v.has_value(), c.value.has_value());
        if (!v)
            continue;
        EXPECT_EQ(*v, *c.value);
        EXPECT_EQ(std::signbit(*v), std::signbit(*c.value));
        EXPECT_EQ(used, c.used);
    }
}
