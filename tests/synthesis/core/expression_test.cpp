#include "synthesis/core/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace plotwell::synthesis;
using plotwell::workspace::SampleStream;

namespace {

ExpressionParameters params100() {
    return ExpressionParameters::forRange(100, 65535);
}

EvaluationResult eval(const std::string& text, double t = 0, ExpressionParameters p = params100()) {
    return evaluateExpression(text, t, p);
}

// The message split "before ? after" that a result's marker gives.
std::string split(const std::string& text, const EvaluationResult& r) {
    return text.substr(0, r.marker) + " ? " + text.substr(r.marker);
}

struct ValueCase {
    const char* text;
    double t;
    double value;
};

TEST(ExpressionGrammar, ValuesFollowPrecedenceAssociativityAndSign) {
    const ValueCase cases[] = {
        {"1+2*3", 0, 7},
        {"8/2/2", 0, 2},
        {"2^3^2", 0, 64},
        {"2^-1", 0, 0.5},
        {"-3^2", 0, -9},
        {"2*-3^2", 0, 18},
        {"2-3*4^2", 0, -46},
        {"2--3", 0, 5},
        {"2*(1+2)", 0, 6},
        {"-sin(0)", 0, 0},
        {"", 0, 0},
        {"3+2*", 0, 2},
        {"(1,2)", 0, 1},
        {"1,2", 0, 1},
        {"2+-*3", 0, -6},
        {"8/4*2", 0, 4},
        {"-2^2", 0, -4},
        {"(-2)^2", 0, 4},
        {"2^-2^2", 0, 0.0625},
        {"3 + 4 * 2", 0, 11},
        {"-2*-2", 0, 4},
        {"5.", 0, 5},
        {"1e3", 0, 1000},
        {".5", 0, 0.5},
        {"floor(-2.5)", 0, -3},
        {"ceil(2.1)", 0, 3},
        {"abs(-3)", 0, 3},
        {"log(1000)", 0, 3},
        {"e", 0, 2.71828182845904},
        {"E", 0, 2.71828182845904},
        {"pi", 0, 3.14159265358979},
        {"PI", 0, 3.14159265358979},
        {"Pi", 0, 3.14159265358979},
        {"per", 0, 100},
        {"f*per", 0, 1},
        {"omg", 0, 6.28318530717958 / 100},
        {"p", 5, 5},
        {"t", 5, 5},
        {"T", 5, 5},
        {"amp", 0, 32767},
        {"0^0", 0, 1},
        {"10^-9", 0, 1e-9},
        {"2^200", 0, std::pow(2.0, 200)},
        {"2^(-300)", 0, std::pow(2.0, -300)},
        {"1 +\n2", 0, 3},
        {"2*t^2", 3, 18},
        {"sqrt(16)+exp(0)", 0, 5},
        {"asin(1)*2", 0, std::asin(1.0) * 2},
        {"acos(1)", 0, 0},
        {"ln(e)", 0, std::log(2.71828182845904)},
        {"cos(0)", 0, 1},
        {"-pulse(0,0,50,0,2)", 0, -1},
        {"-(2)", 0, -2},
        {"1+2*3^2-4/2", 0, 17},
        {"2^3*2", 0, 16},
        {"2*3^2*2", 0, 36},
        {"1-2-3", 0, -4},
        {"2*+3", 0, 6},
        {"sin(1,2)", 0, std::sin(1.0)},
        {"-", 0, 0},
        {"()", 0, 0},
    };
    for (const auto& c : cases) {
        const auto r = eval(c.text, c.t);
        EXPECT_EQ(r.error, 0) << c.text;
        EXPECT_DOUBLE_EQ(r.value, c.value) << c.text;
    }
    // A square is the correctly rounded product, to the last bit (pow() is one unit off here).
    EXPECT_EQ(eval("(2.759+t)^2", 0).value, 2.759 * 2.759);
}

TEST(ExpressionGrammar, HugeLiteralIsInfiniteAndTinyIsZero) {
    EXPECT_TRUE(std::isinf(eval("1e400").value));
    EXPECT_EQ(eval("1e-400").value, 0.0);
}

struct ErrorCase {
    const char* text;
    int code;
    const char* split; // the expression as the message splits it
};

TEST(ExpressionErrors, CodesAndMarkers) {
    const ErrorCase cases[] = {
        {"2^200.5", 12, "2^200.5 ? "},
        {"2^201", 12, "2^201 ? "},
        {"sin (1)", 2, "sin ?  (1)"},
        {"sinh(1)", 2, "sin ? h(1)"},
        {"ceil (1)", 2, "ceil ?  (1)"},
        {"sin(1", 1, "sin(1 ? "},
        {"1)", 1, "1) ? "},
        {"((1)", 1, "((1) ? "},
        {"1+(2", 1, "1+(2 ? "},
        {"(*2)", 3, "(* ? 2)"},
        {"2**3", 3, "2** ? 3"},
        {"2+*3", 3, "2+* ? 3"},
        {"2 3", 4, "2  ? 3"},
        {"3x", 4, "3 ? x"},
        {"x", 3, "x ? "},
        {"am+1", 3, "am ? +1"},
        {"ampx", 4, "amp ? x"},
        {"e2", 4, "e ? 2"},
        {"tan(1)", 3, "t ? an(1)"},
        {"ex", 3, "e ? x"},
        {"fl", 3, "f ? l"},
        {"lo", 3, " ? lo"},
        {"om", 3, " ? om"},
        {"rn", 3, " ? rn"},
        {"wf", 3, " ? wf"},
        {"co", 3, "co ? "},
        {"pix", 4, "pi ? x"},
        {"rnd(1)", 4, "rnd ? (1)"},
        {".", 4, " ? ."},
        {"1.5.2", 4, "1.5 ? .2"},
        {"0x10", 4, "0 ? x10"},
        {"1/0", 5, "1/0 ? "},
        {"1/(1-1)", 5, "1/(1-1) ? "},
        {"ln(0)", 7, "ln(0) ? "},
        {"log(-1)", 8, "log(-1) ? "},
        {"asin(2)", 9, "asin(2) ? "},
        {"acos(-1.5)", 10, "acos(-1.5) ? "},
        {"sqrt(-1)", 11, "sqrt(-1) ? "},
        {"pulse(1,2,3,4)", 13, "pulse(1,2,3,4) ? "},
        {"pulse(1,2,3,4,0)", 6, "pulse(1,2,3,4,0) ? "},
        {"pulse(0,50,0,50,1,7)", 1, "pulse(0,50,0,50,1 ? ,7)"},
        {"ecg(1,2)", 13, "ecg(1,2) ? "},
        {"ecg(1,1,1,1,1,1,1,1,1,1,1,0,0)", 16, "ecg(1,1,1,1,1,1,1,1,1,1,1,0,0) ? "},
        {"wfm(x.wfm)", 14, "wfm(x.wfm) ? "},
        {"wfm x", 2, "wfm ?  x"},
        {"g", 3, "g ? "},
        {"1+\x01", 3, "1+\x01 ? "},
        {"*1", 3, "* ? 1"},
        {"1 2 ^ (", 4, "1  ? 2 ^ ("},
        // A lone a, c or s at the end: the marker stops at the end of the text.
        {"a", 3, "a ? "},
        {"c", 3, "c ? "},
        {"s", 3, "s ? "},
        {"1+a", 3, "1+a ? "},
    };
    for (const auto& c : cases) {
        const auto r = eval(c.text);
        EXPECT_EQ(r.error, c.code) << c.text;
        EXPECT_EQ(r.value, 0.0) << c.text;
        EXPECT_EQ(split(c.text, r), c.split) << c.text;
    }
}

TEST(ExpressionErrors, MessageLayout) {
    EXPECT_EQ(expressionErrorMessage(4, "2 3", 2),
              "\nERROR encountered at the ?\n2  ? 3\nOperator expected\n");
    EXPECT_EQ(expressionErrorMessage(3, "s", 3), "\nERROR encountered at the ?\ns ? \nExpression syntax\n");
    EXPECT_EQ(expressionErrorMessage(100, "amp", 0),
              "Auto level adjustment is not possible\namplitude/2 + offset > peak amplitude\n");
    const char* texts[] = {"Unmatched parenthesis",
                           "Open bracket expected",
                           "Expression syntax",
                           "Operator expected",
                           "Divide by zero",
                           "Pulse cycles <= zero",
                           "ln(n) with n <= zero",
                           "log(n) with n <= zero",
                           "asin(n) with n < -1 or n > 1",
                           "acos(n) with n < -1 or n > 1",
                           "sqrt(n) with n < zero",
                           "numeric overflow",
                           "comma expected",
                           "waveform does not exist",
                           "waveform contains no points",
                           "Cardiac cycles <= zero"};
    for (int code = 1; code <= 16; ++code)
        EXPECT_STREQ(expressionErrorText(code), texts[code - 1]) << code;
}

TEST(ExpressionErrors, BracketsDeeperThanTheLimitAreRefused) {
    std::string ok(127, '(');
    ok += "1" + std::string(127, ')');
    EXPECT_EQ(eval(ok).error, 0);
    std::string deep(128, '(');
    deep += "1" + std::string(128, ')');
    const auto r = eval(deep);
    EXPECT_EQ(r.error, 1);
    EXPECT_EQ(r.marker, 128u);
}

TEST(ExpressionErrors, ValueErrorsHappenOnlyAtThePointThatMeetsThem) {
    ExpressionProgram prog("1/(t-3)", params100());
    ExpressionRandom rnd;
    EXPECT_EQ(prog.evaluate(2, rnd, nullptr).value, -1.0);
    const auto r = prog.evaluate(3, rnd, nullptr);
    EXPECT_EQ(r.error, 5);
    EXPECT_EQ(r.marker, 7u);
    EXPECT_EQ(prog.evaluate(4, rnd, nullptr).value, 1.0);
}

TEST(ExpressionRnd, FirstDrawsAfterProgramStart) {
    ExpressionRandom rnd;
    const int expected[] = {130, 10982, 1090, 11656, 7117, 17595, 6415, 22948};
    for (int r : expected)
        EXPECT_EQ(rnd.next(), r);
}

TEST(ExpressionRnd, EachOccurrenceDrawsInTextOrderAndTheSequenceContinues) {
    ExpressionRandom a, b;
    ExpressionProgram prog("rnd - 2*rnd", params100());
    for (int t = 0; t < 300; ++t) {
        const double first = b.value();
        const double second = b.value();
        EXPECT_EQ(prog.evaluate(t, a, nullptr).value, first - 2 * second);
    }
    // The block path draws the same numbers in the same order.
    ExpressionRandom c, d;
    double values[ExpressionProgram::kLanes];
    ASSERT_EQ(prog.evaluateBlock(0, 100, values, c, nullptr, nullptr), 100);
    for (int t = 0; t < 100; ++t)
        EXPECT_EQ(values[t], prog.evaluate(t, d, nullptr).value);
    EXPECT_EQ(c.state(), d.state());
    EXPECT_EQ(ExpressionRandom().value(), 130 * (1.0 / 32767) * 2 - 1);
}

TEST(ExpressionShapes, PulseSegmentsAtTheirEdges) {
    struct Case {
        const char* text;
        double t, value;
    } cases[] = {
        {"pulse(0,50,0,50,1)", 0, -1},
        {"pulse(0,50,0,50,1)", 25, 0},
        {"pulse(0,50,0,50,1)", 49, 0.96},
        {"pulse(0,50,0,50,1)", 50, 1},
        {"pulse(0,50,0,50,1)", 75, 0},
        {"pulse(0,50,0,50,1)", 99, -0.96},
        {"pulse(0,0,50,0,2)", 0, 1},
        {"pulse(0,0,50,0,2)", 24, 1},
        {"pulse(0,0,50,0,2)", 25, -1},
        {"pulse(0,0,50,0,2)", 49, -1},
        {"pulse(0,0,50,0,2)", 50, 1},
        {"pulse(0,0,50,0,2)", 99, -1},
        {"pulse(0,0,50,0,3)", 16, 1},
        {"pulse(0,0,50,0,3)", 32, -1},
        {"pulse(0,0,50,0,3)", 33, 1},
        {"pulse(0,0,50,0,3)", 99, 1},
        {"pulse(10,10,40,10,1)", 10, -1},
        {"pulse(10,10,40,10,1)", 11, -0.8},
        {"pulse(10,10,40,10,1)", 15, 0},
        {"pulse(10,10,40,10,1)", 20, 1},
        {"pulse(10,10,40,10,1)", 60, 1},
        {"pulse(10,10,40,10,1)", 61, 0.8},
        {"pulse(10,10,40,10,1)", 69, -0.8},
        {"pulse(10,10,40,10,1)", 70, -1},
        {"pulse(0,0,50,0,3)", 0, 1},
        {"pulse(0,0,50,0,3)", 15, 1},
        {"pulse(0,0,50,0,3)", 49, 1},
        {"pulse(0,0,50,0,3)", 50, -1},
        {"pulse(0,0,50,0,3)", 98, -1},
        {"pulse(10,10,40,10,1)", 0, -1},
        {"pulse(10,10,40,10,1)", 19, 0.8},
        {"pulse(10,10,40,10,1)", 65, 0},
        {"pulse(10,10,40,10,1)", 99, -1},
        // More cycles than points: every point is at the start of a cycle.
        {"pulse(0,0,50,0,200)", 0, 1},
        {"pulse(0,0,50,0,200)", 57, 1},
    };
    for (const auto& c : cases) {
        const auto r = eval(c.text, c.t);
        EXPECT_EQ(r.error, 0) << c.text;
        EXPECT_NEAR(r.value, c.value, 1e-12) << c.text << " at " << c.t;
    }
}

TEST(ExpressionShapes, EcgSegmentsAtTheirEdges) {
    const auto p = ExpressionParameters::forRange(1000, 65535);
    struct Case {
        double t, value;
    } plain[] = {
        {0, 0},           {149, 0},        {150, 0},         {183, 0.140306}, {200, 0.184776},
        {216, 0.199975},  {249, 0.009421}, {250, 0},         {350, 0},        {358, -0.027103},
        {366, -0.093721}, {367, -0.089},   {383, 0.439},     {399, 0.967},    {400, 1.0},
        {416, 0.376},     {433, -0.287},   {449, -0.001331}, {450, 0},        {650, 0},
        {716, 0.175383},  {783, 0.249998}, {849, 0.00589},   {850, 0},        {999, 0},
    };
    for (const auto& c : plain) {
        const auto r = eval("ecg(20,10,10,5,50,20,20,10,100,30,25,0,1)", c.t, p);
        EXPECT_EQ(r.error, 0);
        EXPECT_NEAR(r.value, c.value, 1e-3) << "t=" << c.t;
    }
    struct Case u[] = {{99, 0}, {875, 0.05}, {899, 0.00314}, {900, 0}};
    for (const auto& c : u)
        EXPECT_NEAR(eval("ecg(20,10,10,5,50,20,20,10,100,30,25,1,1)", c.t, p).value, c.value, 1e-4) << c.t;
    EXPECT_EQ(eval("ecg(20,10,10,5,50,20,20,10,100,30,25,0,5000)", 3, p).value, 0.0);
}

TEST(ExpressionWfm, FoundNotFoundShortAndEmpty) {
    SampleStream src(2048, 4);
    src.setCode(0, 0);
    src.setCode(1, 2048);
    src.setCode(2, 4095);
    src.setCode(3, 1024);
    SampleStream empty;
    empty.setReference(2048);
    SampleStream normalised(1, 1, 49152);
    WaveformDirectory dir;
    dir.add("src.wfm", {&src, 1, 2});
    dir.add("empty.wfm", {&empty, 0, 0});
    dir.add("norm.wfm", {&normalised, 0, 0});
    const auto p = params100();
    EXPECT_DOUBLE_EQ(evaluateExpression("wfm(src.wfm)", 0, p, nullptr, &dir).value, 0.0);
    EXPECT_DOUBLE_EQ(evaluateExpression("wfm(src.wfm)", 1, p, nullptr, &dir).value, 2047.0 / 2048);
    // Past the selection: 0.
    EXPECT_EQ(evaluateExpression("wfm(src.wfm)", 2, p, nullptr, &dir).value, 0.0);
    EXPECT_DOUBLE_EQ(evaluateExpression("-wfm(norm.wfm)", 0, p, nullptr, &dir).value, -0.5);
    // Case-sensitive, blanks belong to the name.
    EXPECT_EQ(evaluateExpression("wfm(SRC.wfm)", 0, p, nullptr, &dir).error, 14);
    EXPECT_EQ(evaluateExpression("wfm( src.wfm)", 0, p, nullptr, &dir).error, 14);
    const auto e = evaluateExpression("1+wfm(empty.wfm)*2", 0, p, nullptr, &dir);
    EXPECT_EQ(e.error, 15);
    EXPECT_EQ(e.marker, 16u);
    // An unclosed name runs to the end of the text.
    const auto u = evaluateExpression("wfm(src.wfm", 1, p, nullptr, &dir);
    EXPECT_EQ(u.error, 0);
    EXPECT_DOUBLE_EQ(u.value, 2047.0 / 2048);
    // The last of two equal names wins.
    SampleStream other(2048, 1, 3072);
    dir.add("src.wfm", {&other, 0, 0});
    EXPECT_DOUBLE_EQ(evaluateExpression("wfm(src.wfm)", 0, p, nullptr, &dir).value, 0.5);
}

TEST(ExpressionMaths, FailuresAreReportedOncePerFunctionAndKind) {
    std::vector<std::string> boxes;
    MathsErrorReporter rep([&](const std::string& s) { boxes.push_back(s); });
    const auto p = params100();
    ExpressionRandom rnd;
    EXPECT_TRUE(std::isnan(evaluateExpression("(-8)^(1/3)", 0, p, &rnd, nullptr, &rep).value));
    evaluateExpression("(-8)^0.5", 0, p, &rnd, nullptr, &rep);
    EXPECT_TRUE(std::isinf(evaluateExpression("0^-1", 0, p, &rnd, nullptr, &rep).value));
    EXPECT_TRUE(std::isinf(evaluateExpression("exp(710)", 0, p, &rnd, nullptr, &rep).value));
    EXPECT_TRUE(std::isinf(evaluateExpression("1e10^200", 0, p, &rnd, nullptr, &rep).value));
    EXPECT_EQ(evaluateExpression("exp(-746)", 0, p, &rnd, nullptr, &rep).value, 0.0);
    EXPECT_EQ(evaluateExpression("2^-2000", 0, p, &rnd, nullptr, &rep).value, 0.0);
    EXPECT_TRUE(std::isnan(evaluateExpression("sin(1e400)+cos(-1e400)", 0, p, &rnd, nullptr, &rep).value));
    const std::vector<std::string> expected = {"pow: DOMAIN error",   "pow: SING error",
                                               "exp: OVERFLOW error", "pow: OVERFLOW error",
                                               "sin: DOMAIN error",   "cos: DOMAIN error"};
    EXPECT_EQ(boxes, expected);
}

// The sines inside ecg() are checked like sin(): a segment so short that 2*pi/length is
// infinite reports the same box, point by point and in a block.
TEST(ExpressionMaths, EcgSinesAreCheckedLikeSin) {
    const auto p = ExpressionParameters::forRange(4, 65535);
    for (const char* text : {"sin(1e400)", "ecg(60,10,10,5,50,20,20,10,100,30,25,0,1e308)"}) {
        std::vector<std::string> pointBoxes, blockBoxes;
        MathsErrorReporter pointRep([&](const std::string& s) { pointBoxes.push_back(s); });
        MathsErrorReporter blockRep([&](const std::string& s) { blockBoxes.push_back(s); });
        ExpressionRandom rnd;
        EXPECT_TRUE(std::isnan(evaluateExpression(text, 0, p, &rnd, nullptr, &pointRep).value)) << text;
        ExpressionProgram prog(text, p);
        double values[ExpressionProgram::kLanes];
        ASSERT_EQ(prog.evaluateBlock(0, 4, values, rnd, &blockRep, nullptr), 4) << text;
        EXPECT_TRUE(std::isnan(values[0])) << text;
        EXPECT_EQ(pointBoxes, std::vector<std::string>{"sin: DOMAIN error"}) << text;
        EXPECT_EQ(blockBoxes, std::vector<std::string>{"sin: DOMAIN error"}) << text;
    }
}

TEST(ExpressionMaths, BlockPathReportsInPointOrder) {
    std::vector<std::string> boxes;
    MathsErrorReporter rep([&](const std::string& s) { boxes.push_back(s); });
    ExpressionProgram prog("exp(t*10)+(t-90)^0.5", params100());
    ExpressionRandom rnd;
    double values[ExpressionProgram::kLanes];
    ASSERT_EQ(prog.evaluateBlock(0, 100, values, rnd, &rep, nullptr), 100);
    // exp overflows from t = 71, the power fails for t < 90 from t = 0.
    const std::vector<std::string> expected = {"pow: DOMAIN error", "exp: OVERFLOW error"};
    EXPECT_EQ(boxes, expected);
    EXPECT_TRUE(std::isnan(values[0]));
    EXPECT_TRUE(std::isinf(values[95]));
}

TEST(ExpressionProgram, ConstantsFoldAndTheTextIsReadOnce) {
    ExpressionProgram prog("amp*sin(omg*(t*1.00+per*0.00/360))", params100());
    EXPECT_LE(prog.instructionCount(), 8u);
    ExpressionProgram constant("2*3+4", params100());
    EXPECT_EQ(constant.instructionCount(), 0u);
    // A constant division by zero is not folded away: it fails when evaluated.
    ExpressionProgram bad("1/0", params100());
    EXPECT_EQ(bad.instructionCount(), 1u);
    ExpressionRandom rnd;
    EXPECT_EQ(bad.evaluate(0, rnd, nullptr).error, 5);
}

TEST(ExpressionProgram, ABlockStopsAtTheFirstFailingPoint) {
    ExpressionProgram prog("rnd+1/(t-37)", params100());
    ExpressionRandom a, b;
    double values[ExpressionProgram::kLanes];
    EvaluationResult err;
    EXPECT_EQ(prog.evaluateBlock(0, 100, values, a, nullptr, &err), 37);
    EXPECT_EQ(err.error, 5);
    for (int t = 0; t < 37; ++t)
        EXPECT_EQ(values[t], prog.evaluate(t, b, nullptr).value);
    prog.evaluate(37, b, nullptr);
    EXPECT_EQ(a.state(), b.state());
}

TEST(ExpressionProgram, EmbeddedNulEndsTheText) {
    const std::string text("1+2\0+5", 6);
    EXPECT_EQ(eval(text).value, 3.0);
}

} // namespace

namespace {

TEST(ExpressionShapes, AShapeInsideAnotherShapesArgumentsKeepsEachArgumentList) {
    // The inner ecg's arguments must not be taken for the outer pulse's.
    EXPECT_EQ(eval("pulse(1,1,1,ecg(1,1,1,1,1,1,1,1,1,1,1,1,1),0)").error, 6);
    EXPECT_EQ(eval("pulse(0,0,50,pulse(0,0,50,0,1)+1,2)", 30).value, -1.0);
}

} // namespace

namespace {

TEST(ExpressionGrammar, EveryLevelStartsFromPlusZeroSoANegativeZeroTermTurnsPositive) {
    // The bracket's value is 0 + (-0) = +0 at t = 0, so its power -1 is +inf, not -inf.
    ExpressionProgram prog("(t*-1)^-1", params100());
    ExpressionRandom rnd;
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(prog.evaluate(0, rnd, nullptr).value, inf);
    double values[ExpressionProgram::kLanes];
    ASSERT_EQ(prog.evaluateBlock(0, 4, values, rnd, nullptr, nullptr), 4);
    EXPECT_EQ(values[0], inf);
    EXPECT_EQ(values[2], -0.5);
}

} // namespace
