// The generator dialogs' expressions, exactly as they reach the generation, and where their
// preview lines lie.

#include "synthesis/core/generator_templates.h"

#include "support/decimal_comma_locale.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plotwell::synthesis;

namespace {

struct TemplateCase {
    const char* what;
    std::string text;
    const char* expected;
};

TEST(GeneratorTemplates, FormatExactly) {
    CardiacPercents edited = kCardiacDefaults;
    edited[0] = 22.5;
    edited[10] = 12.345;
    const TemplateCase cases[] = {
        {"sine default", sineExpression(1.0, 0.0), "amp*sin(omg*(t*1.00+per*0.00/360))"},
        {"sine edited", sineExpression(2.0, -90.0), "amp*sin(omg*(t*2.00+per*-90.00/360))"},
        {"sine rounds to two decimals", sineExpression(2.505, 12.3456),
         "amp*sin(omg*(t*2.50+per*12.35/360))"},
        {"triangle default", triangleExpression(1.0, 0.0), "amp*asin(sin(omg*(t*1.00+per*0.00/360)))*2/pi"},
        {"triangle edited", triangleExpression(3.5, 90.0), "amp*asin(sin(omg*(t*3.50+per*90.00/360)))*2/pi"},
        {"square default", squareExpression(1.0, 50.0), "amp*pulse(0,0,50.00,0,1.00)"},
        {"square takes the duty first", squareExpression(2.0, 30.0), "amp*pulse(0,0,30.00,0,2.00)"},
        {"noise", noiseExpression(), "amp*rnd"},
        {"pulse, first use on 16 bits", pulseExpression(PulseTimes{}, 0, 32767),
         "pulse(10.00,10.00,40.00,10.00,1.00)*16383+16383"},
        {"pulse edited", pulseExpression({0, 0, 100, 0, 2.5}, -100, 301),
         "pulse(0.00,0.00,100.00,0.00,2.50)*200+100"},
        {"sinc default", sincExpression(false, 180.0, 20),
         "+amp*sin(pi*f*(10^-9+t-per*180.00/360)*20)/(pi*f*(10^-9+t-per*180.00/360)*20)"},
        {"sinc inverted", sincExpression(true, 0.0, 7),
         "-amp*sin(pi*f*(10^-9+t-per*0.00/360)*7)/(pi*f*(10^-9+t-per*0.00/360)*7)"},
        {"exponential default", exponentialExpression(false, 200), "+amp*exp(-t/200)"},
        {"exponential inverted", exponentialExpression(true, 1), "-amp*exp(-t/1)"},
        {"gaussian default", gaussianExpression(false, 50), "+amp*e^(-(t-per/2)^2/(50^2))"},
        {"gaussian inverted", gaussianExpression(true, 7), "-amp*e^(-(t-per/2)^2/(7^2))"},
        {"cardiac default", cardiacExpression(kCardiacDefaults, false, 1.0),
         "amp*ecg(20.00,10.00,10.00,5.00,50.00,20.00,20.00,10.00,100.00,30.00,25.00,0.00,1.00)"},
        {"cardiac with U wave", cardiacExpression(edited, true, 3.0),
         "amp*ecg(22.50,10.00,10.00,5.00,50.00,20.00,20.00,10.00,100.00,30.00,12.35,1.00,3.00)"},
    };
    for (const TemplateCase& c : cases)
        EXPECT_EQ(c.text, c.expected) << c.what;
    EXPECT_EQ(cardiacExpression(kCardiacDefaults, false, 1.0).size(), 84u);
}

TEST(GeneratorTemplates, HarmonicsJoinTheEnabledRows) {
    std::vector<HarmonicRow> rows(kHarmonicRows);
    for (int k = 0; k < kHarmonicRows; ++k)
        rows[k].harmonic = k + 1;
    rows[0] = {true, 1, 1.0, 0.0};
    EXPECT_EQ(harmonicsExpression(rows), "amp*1.00*sin(omg*(t*1+per*0.00/360))");

    rows[0].enabled = false;
    rows[1] = {true, 3, 1.0, 0.0};
    EXPECT_EQ(harmonicsExpression(rows), " + amp*1.00*sin(omg*(t*3+per*0.00/360))");

    rows[0].enabled = true;
    rows[3] = {true, 49, 0.333, -45.0};
    EXPECT_EQ(harmonicsExpression(rows), "amp*1.00*sin(omg*(t*1+per*0.00/360))"
                                         " + amp*1.00*sin(omg*(t*3+per*0.00/360))"
                                         " + amp*0.33*sin(omg*(t*49+per*-45.00/360))");

    for (HarmonicRow& r : rows)
        r.enabled = false;
    EXPECT_EQ(harmonicsExpression(rows), "");
    for (HarmonicRow& r : rows)
        r = {true, 1, 1.0, 0.0};
    EXPECT_EQ(harmonicsExpression(rows).size(), 36u + 15 * 39);
}

TEST(GeneratorTemplates, IgnoreADecimalCommaLocale) {
    DecimalCommaLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no decimal-comma locale can be made here";
    EXPECT_EQ(sineExpression(2.5, 90.0), "amp*sin(omg*(t*2.50+per*90.00/360))");
    HarmonicRow row{true, 2, 0.5, 1.25};
    EXPECT_EQ(harmonicsExpression(std::span(&row, 1)), "amp*0.50*sin(omg*(t*2+per*1.25/360))");
}

struct LinesCase {
    const char* what;
    PreviewLines lines;
    PreviewLines expected;
};

TEST(GeneratorPreviewLines, LieWhereTheWaveWillBe) {
    const LinesCase cases[] = {
        {"symmetric", symmetricLines(65535, -7), {32767, -7}},
        {"pulse, first use on 16 bits", pulseLines(0, 32767), {16383, 16383}},
        {"pulse truncates toward zero", pulseLines(-5, 2), {3, -1}},
        {"pulse at the int32 ends", pulseLines(INT32_MIN, INT32_MAX), {INT32_MAX, 0}},
        {"sinc", sincLines(1000, 0, false), {304, 195}},
        {"sinc inverted", sincLines(1000, 0, true), {304, -195}},
        {"sinc full scale", sincLines(65535, 0, false), {19945, 12822}},
        {"sinc with offset, inverted", sincLines(4095, 100, true), {1246, -701}},
        {"one-sided", oneSidedLines(1000, 0, false, false), {250, 250}},
        {"one-sided inverted", oneSidedLines(1000, 0, true, false), {250, -250}},
        {"bipolar", oneSidedLines(1000, 0, true, true), {500, 0}},
        {"one-sided with offset", oneSidedLines(1001, 10, true, false), {250, -240}},
        {"one-sided at the int32 end",
         oneSidedLines(INT32_MAX, INT32_MAX, false, false),
         {INT32_MAX / 4, INT32_MAX}},
    };
    for (const LinesCase& c : cases)
        EXPECT_EQ(c.lines, c.expected) << c.what;
}

} // namespace
