#pragma once
// The evaluator's error codes and the texts the generation shows for them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plotwell::synthesis {

// ExpressionErrorCode: 0 when a run succeeded.
enum ExpressionErrorCode : int32_t {
    ExprOk = 0,
    ExprUnmatchedParenthesis = 1,
    ExprOpenBracketExpected = 2,
    ExprSyntax = 3,
    ExprOperatorExpected = 4,
    ExprDivideByZero = 5,
    ExprPulseCycles = 6,
    ExprLnDomain = 7,
    ExprLogDomain = 8,
    ExprAsinDomain = 9,
    ExprAcosDomain = 10,
    ExprSqrtDomain = 11,
    ExprNumericOverflow = 12,
    ExprCommaExpected = 13,
    ExprNoSuchWaveform = 14,
    ExprWaveformEmpty = 15,
    ExprCardiacCycles = 16,
    ExprAutoLevelImpossible = 100,
};

// The short text of a code ("Divide by zero"); empty for an unknown code.
const char* expressionErrorText(int32_t code);

// The whole message box text of a code: the expression split at the marker with " ? ",
// then the code's text. Code 100 is its text alone. The marker is clamped to the text.
std::string expressionErrorMessage(int32_t code, std::string_view expression, std::size_t marker);

// The texts of the generation's other boxes.
inline constexpr const char* kAutoLevelImpossible =
    "Auto level adjustment is not possible\namplitude/2 + offset > peak amplitude\n";
inline constexpr const char* kClippedWarning = "Warning\nThe waveform is clipped\n";

} // namespace plotwell::synthesis
