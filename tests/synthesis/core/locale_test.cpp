// Numbers in expressions and generator templates never follow the user's locale: a
// decimal comma would end every bracket level and silently change the waveform.

#include "common/numtext.h"
#include "synthesis/core/expression.h"

#include "support/decimal_comma_locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

using namespace plotwell;
using namespace plotwell::synthesis;

namespace {

TEST(ExpressionLocale, NumbersAndTemplatesIgnoreADecimalCommaLocale) {
    DecimalCommaLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no decimal-comma locale can be made here";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%1.2f", 2.5);
    ASSERT_STREQ(probe, "2,50"); // the locale is really in force

    const std::string sine = common::cformat("amp*sin(omg*(t*%1.2f+per*%1.2f/360))", 2.5, 90.0);
    EXPECT_EQ(sine, "amp*sin(omg*(t*2.50+per*90.00/360))");
    const auto p = ExpressionParameters::forRange(100, 65535);
    const auto r = evaluateExpression(sine, 10, p);
    EXPECT_EQ(r.error, 0);
    EXPECT_DOUBLE_EQ(r.value, 32767 * std::sin(p.Omg * (10 * 2.5 + 100 * 90.0 / 360)));
    EXPECT_EQ(evaluateExpression("2.5*2", 0, p).value, 5.0);
    EXPECT_EQ(evaluateExpression("1.5e1", 0, p).value, 15.0);
    // A comma is a level end, never a decimal separator.
    EXPECT_EQ(evaluateExpression("2,5", 0, p).value, 2.0);
    EXPECT_EQ(evaluateExpression("0x10", 0, p).error, 4);
}

} // namespace
