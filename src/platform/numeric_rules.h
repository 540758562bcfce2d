#pragma once
// The rules of the dialogs' numeric edit fields, without widgets: which typed keys a field
// lets through, its sign toggle and sign repair, how its text reads as a number and how a
// number is written back, and the limits of the range fields. NumericField
// (numeric_field.h) applies them to a QLineEdit.
//
// Texts are one byte per character (Latin-1), as the edits hold them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plotwell::platform {

enum class FieldKind { UnsignedInteger, SignedInteger, UnsignedDecimal, SignedDecimal };

constexpr bool isSigned(FieldKind k) {
    return k == FieldKind::SignedInteger || k == FieldKind::SignedDecimal;
}
constexpr bool isDecimal(FieldKind k) {
    return k == FieldKind::UnsignedDecimal || k == FieldKind::SignedDecimal;
}

// The key filter's answer to one typed character.
enum class KeyAction {
    Pass,       // the character goes to the field
    Discard,    // the field never sees it
    ToggleSign, // '-' in a signed field: the text changes sign instead
};
struct KeyVerdict {
    KeyAction action;
    // A passed key found the text of a signed field beginning with '-': the key release
    // then repairs the sign should the key have moved it.
    bool leadingMinus;
};

constexpr char kBackspace = '\b';

// `key` is the typed character (kBackspace for backspace); `text` the field's text before
// the key; `typedLimit` the number of characters the user may type (0: no limit).
KeyVerdict filterKey(FieldKind kind, char key, std::string_view text, bool hasSelection, int typedLimit);

// '-' typed into a signed field: a leading '-' goes, or one comes in front.
std::string toggledSign(std::string_view text);
// After a key that found a leading '-': when the text no longer begins with '-' (a digit
// typed in front of it, or the sign deleted), the '-' goes back in front and every other
// '-' goes; nullopt when the sign is still in place.
std::optional<std::string> repairedSign(std::string_view text);
// Where the caret stands after a repair: behind the first character after the sign.
constexpr int kCaretAfterRepair = 2;

// A field's text as a number: leading blanks, an optional sign and the leading number;
// a text without one reads as 0.
int32_t fieldInt(std::string_view text);
double fieldDecimal(std::string_view text);
// Whether that number is one the program can hold: an integer within 32 bits, a finite
// decimal. A text without a number fits (it reads as 0).
bool numberFits(FieldKind kind, std::string_view text);
// How a field shows its number: "%d" for integers, "%1.2f" for decimals.
std::string intText(int32_t value);
std::string decimalText(double value);

// ---- range fields (a first and a last point of a waveform of lastPoint + 1 points) ----

// Key release in a start field: a start beyond the end is pulled down to the end at once;
// a start of 0 is never capped.
int32_t startOnRelease(int32_t start, int32_t end);
// Leaving a start field: a start outside the waveform becomes 0.
int32_t startOnExit(int32_t start, int32_t lastPoint);
// Leaving an end field: at most the last point, then at least the start.
int32_t endOnExit(int32_t end, int32_t start, int32_t lastPoint);
// A point brought within 0 .. lastPoint (0 when there is no point).
int32_t pointWithin(int32_t point, int32_t lastPoint);

} // namespace plotwell::platform
