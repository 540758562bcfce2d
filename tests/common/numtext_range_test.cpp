// Numbers beyond the double range, as fuzzing found them: the direction of an out-of-range
// number follows its digits and exponent together, as strtod has it.

#include "common/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using plotwell::common::parseDouble;
using plotwell::common::parseDoublePrefix;

TEST(NumTextRange, HugeMantissaWithNegativeExponentIsInfinite) {
    // The fuzzer's input: 344 characters, ~9.7e337, then a comma and more text.
    const std::string input = "000"
                              "9" +
                              std::string(13, '6') + "99" + std::string(32, '0') + "9" +
                              std::string(25, '7') + std::string(106, '0') + "102" + std::string(137, '0') +
                              "1024815226317213998e-3,35";
    std::size_t used = 0;
    const auto v = parseDoublePrefix(input, &used);
    ASSERT_TRUE(v);
    EXPECT_EQ(used, input.find(','));
    EXPECT_TRUE(std::isinf(*v) && *v > 0);
    EXPECT_EQ(parseDouble("-1" + std::string(400, '0') + "e-5"), -HUGE_VAL);
}

TEST(NumTextRange, TinyNumbersWithoutExponentAreZero) {
    EXPECT_EQ(parseDouble("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(parseDouble("-0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_TRUE(std::signbit(*parseDouble("-0." + std::string(400, '0') + "1")));
    EXPECT_EQ(parseDouble("1e-400"), 0.0);
    EXPECT_EQ(parseDouble("1e400"), HUGE_VAL);
    EXPECT_EQ(parseDouble("+1e400"), HUGE_VAL);
    // Subnormals are in range and kept.
    EXPECT_GT(*parseDouble("1e-320"), 0.0);
}
