#include "synthesis/core/expression_errors.h"

#include <algorithm>

namespace plotwell::synthesis {

const char* expressionErrorText(int32_t code) {
    switch (code) {
    case 1:
        return "Unmatched parenthesis";
    case 2:
        return "Open bracket expected";
    case 3:
        return "Expression syntax";
    case 4:
        return "Operator expected";
    case 5:
        return "Divide by zero";
    case 6:
        return "Pulse cycles <= zero";
    case 7:
        return "ln(n) with n <= zero";
    case 8:
        return "log(n) with n <= zero";
    case 9:
        return "asin(n) with n < -1 or n > 1";
    case 10:
        return "acos(n) with n < -1 or n > 1";
    case 11:
        return "sqrt(n) with n < zero";
    case 12:
        return "numeric overflow";
    case 13:
        return "comma expected";
    case 14:
        return "waveform does not exist";
    case 15:
        return "waveform contains no points";
    case 16:
        return "Cardiac cycles <= zero";
    case 100:
        return kAutoLevelImpossible;
    default:
        return "";
    }
}

std::string expressionErrorMessage(int32_t code, std::string_view expression, std::size_t marker) {
    if (code == ExprAutoLevelImpossible)
        return kAutoLevelImpossible;
    // The text is a C string to the user: it ends at the first NUL.
    expression = expression.substr(0, expression.find('\0'));
    marker = std::min(marker, expression.size());
    std::string out = "\nERROR encountered at the ?\n";
    out.append(expression.substr(0, marker));
    out.append(" ? ");
    out.append(expression.substr(marker));
    out.append("\n");
    out.append(expressionErrorText(code));
    out.append("\n");
    return out;
}

} // namespace plotwell::synthesis
