#include "common/numtext.h"

#include "support/decimal_comma_locale.h"

#include <gtest/gtest.h>

using namespace plotwell::common;

TEST(NumberTextLocale, DecimalCommaLocaleChangesNothing) {
    DecimalCommaLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no decimal-comma locale can be made here";
    EXPECT_EQ(cformat("%+7.5f|%1.2f|%g", -0.5, 2.25, 1e-7), "-0.50000|2.25|1e-07");
    EXPECT_EQ(parseDouble("2.5").value(), 2.5);
    EXPECT_FALSE(parseDouble("2,5"));
    EXPECT_EQ(parseDoubleOrHexPrefix("0x1.8p3").value(), 12.0);
}
