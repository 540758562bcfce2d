// The numeric fields' rules without widgets: the key filter, the sign, reading and writing
// a field's number, and the range fields' limits.

#include "platform/numeric_rules.h"

#include "support/decimal_comma_locale.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace plotwell::platform;

namespace {
constexpr auto UInt = FieldKind::UnsignedInteger;
constexpr auto SInt = FieldKind::SignedInteger;
constexpr auto UDec = FieldKind::UnsignedDecimal;
constexpr auto SDec = FieldKind::SignedDecimal;
constexpr auto Pass = KeyAction::Pass;
constexpr auto Discard = KeyAction::Discard;
constexpr auto Toggle = KeyAction::ToggleSign;
} // namespace

TEST(NumericRules, KeyFilter) {
    struct Row {
        FieldKind kind;
        char key;
        const char* text;
        bool selection;
        int limit;
        KeyAction action;
        bool leadingMinus;
    };
    const Row rows[] = {
        // digits and backspace pass everywhere; letters and blanks nowhere
        {UInt, '7', "12", false, 0, Pass, false},
        {UInt, kBackspace, "12", false, 0, Pass, false},
        {UInt, 'a', "12", false, 0, Discard, false},
        {UInt, ' ', "12", false, 0, Discard, false},
        {SDec, 'e', "1.5", false, 0, Discard, false},
        // '-' toggles the sign of signed fields only
        {UInt, '-', "12", false, 0, Discard, false},
        {SInt, '-', "12", false, 0, Toggle, false},
        {SDec, '-', "-1.5", false, 0, Toggle, false},
        // '.' only in decimals, once, unless it replaces a selection
        {SInt, '.', "12", false, 0, Discard, false},
        {UDec, '.', "12", false, 0, Pass, false},
        {UDec, '.', "1.2", false, 0, Discard, false},
        {UDec, '.', "1.2", true, 0, Pass, false},
        // the typed limit: characters that lengthen the text, not backspace or a replacement
        {UInt, '1', "1234567", false, 7, Discard, false},
        {UInt, '1', "1234567", true, 7, Pass, false},
        {UInt, kBackspace, "1234567", false, 7, Pass, false},
        {UDec, '.', "1234567", false, 7, Discard, false},
        {SInt, '-', "1234567", false, 7, Toggle, false},
        {SInt, '1', "-123456", false, 7, Discard, false},
        // a passed key in a signed field notes a leading minus
        {SInt, '3', "-25", false, 0, Pass, true},
        {SInt, kBackspace, "-25", false, 0, Pass, true},
        {SDec, '.', "-25", false, 0, Pass, true},
        {SInt, '3', "25", false, 0, Pass, false},
        {SInt, 'x', "-25", false, 0, Discard, false},
        {UInt, '3', "-25", false, 0, Pass, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << int(r.kind) << " '" << r.key << "' on \"" << r.text << "\"");
        const KeyVerdict v = filterKey(r.kind, r.key, r.text, r.selection, r.limit);
        EXPECT_EQ(v.action, r.action);
        EXPECT_EQ(v.leadingMinus, r.leadingMinus);
    }
}

TEST(NumericRules, SignToggleAndRepair) {
    const std::pair<const char*, const char*> toggles[] = {
        {"25", "-25"}, {"-25", "25"}, {"", "-"}, {"-", ""}};
    for (const auto& [text, toggled] : toggles)
        EXPECT_EQ(toggledSign(text), toggled) << text;

    // What the text became after a key that found a leading '-'.
    const std::pair<const char*, std::optional<std::string>> repairs[] = {
        {"-325", std::nullopt}, // the key went behind the sign
        {"3-25", "-325"},       // a digit typed in front of the sign
        {"25", "-25"},          // the sign deleted
        {"", "-"},
        {"1-2-3", "-123"},
    };
    for (const auto& [text, repaired] : repairs)
        EXPECT_EQ(repairedSign(text), repaired) << text;
}

TEST(NumericRules, ReadingAndWritingAFieldsNumber) {
    const std::pair<const char*, int32_t> ints[] = {
        {"123", 123},
        {"007", 7},
        {"-25", -25},
        {"  42", 42},
        {"\t5", 5},
        {"", 0},
        {"abc", 0},
        {"12x", 12},
        {"1.9", 1},
        {"-", 0},
        {"0x10", 0},
        {"+8", 8},
        {"99999999999", 2147483647},
    };
    for (const auto& [text, value] : ints)
        EXPECT_EQ(fieldInt(text), value) << text;

    const std::pair<const char*, double> decimals[] = {
        {"1.5", 1.5}, {"-0.25", -0.25}, {" 3", 3.0}, {"", 0.0}, {".", 0.0}, {"2.5abc", 2.5}, {"inf", 0.0},
    };
    for (const auto& [text, value] : decimals)
        EXPECT_EQ(fieldDecimal(text), value) << text;

    // Numbers too large to hold, which the dialogs refuse rather than cut.
    const std::string huge = "-" + std::string(400, '9');
    const std::tuple<FieldKind, const char*, bool> fits[] = {
        {FieldKind::UnsignedInteger, "2147483647", true},
        {FieldKind::UnsignedInteger, "2147483648", false},
        {FieldKind::SignedInteger, "-2147483648", true},
        {FieldKind::SignedInteger, "-2147483649", false},
        {FieldKind::UnsignedInteger, " 0000000000012", true},
        {FieldKind::UnsignedInteger, "99999999999x", false},
        {FieldKind::UnsignedInteger, "abc", true},
        {FieldKind::UnsignedDecimal, "1e308", true},
        {FieldKind::UnsignedDecimal, "1e309", false},
        {FieldKind::SignedDecimal, huge.c_str(), false},
    };
    for (const auto& [kind, text, fitting] : fits)
        EXPECT_EQ(numberFits(kind, text), fitting) << text;

    EXPECT_EQ(intText(-325), "-325");
    EXPECT_EQ(decimalText(1.0), "1.00");
    EXPECT_EQ(decimalText(-0.125), "-0.12");
    DecimalCommaLocale comma;
    EXPECT_EQ(decimalText(2.5), "2.50") << "never the user's decimal comma";
    EXPECT_EQ(fieldDecimal("2.5"), 2.5);
}

TEST(NumericRules, RangeFieldLimits) {
    struct Row {
        const char* rule;
        int32_t got, expected;
    };
    const Row rows[] = {
        {"a start beyond the end is pulled down to it", startOnRelease(57, 40), 40},
        {"a start at or below the end stays", startOnRelease(40, 40), 40},
        {"a start of 0 is never capped", startOnRelease(0, -1), 0},
        {"a start beyond the last point becomes 0", startOnExit(500, 99), 0},
        {"a start on the last point stays", startOnExit(99, 99), 99},
        {"a negative start becomes 0", startOnExit(-3, 99), 0},
        {"an end beyond the last point becomes the last point", endOnExit(7777, 0, 99), 99},
        {"an end below the start becomes the start", endOnExit(5, 20, 99), 20},
        {"an end within stays", endOnExit(50, 20, 99), 50},
        {"a point below 0", pointWithin(-5, 19), 0},
        {"a point past the last", pointWithin(99999, 19), 19},
        {"a point with no points", pointWithin(3, -1), 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.got, r.expected) << r.rule;
}
