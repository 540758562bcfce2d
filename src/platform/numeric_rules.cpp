#include "platform/numeric_rules.h"

#include "common/numtext.h"

#include <algorithm>
#include <cmath>

namespace plotwell::platform {

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

KeyVerdict filterKey(FieldKind kind, char key, std::string_view text, bool hasSelection, int typedLimit) {
    if (key == '-' && isSigned(kind))
        return {KeyAction::ToggleSign, false};
    const bool point = key == '.' && isDecimal(kind);
    if (!isDigit(key) && key != kBackspace && !point)
        return {KeyAction::Discard, false};
    // A typed character replaces the selection, so neither rule holds while there is one.
    if (!hasSelection) {
        if (point && text.find('.') != std::string_view::npos)
            return {KeyAction::Discard, false};
        if (key != kBackspace && typedLimit > 0 && text.size() >= std::size_t(typedLimit))
            return {KeyAction::Discard, false};
    }
    return {KeyAction::Pass, isSigned(kind) && !text.empty() && text.front() == '-'};
}

std::string toggledSign(std::string_view text) {
    if (!text.empty() && text.front() == '-')
        return std::string(text.substr(1));
    // Appended piece by piece: GCC 12 at -O3 raises a false -Wstringop-overflow on "-" + std::string.
    std::string signedText;
    signedText.reserve(text.size() + 1);
    signedText += '-';
    signedText += text;
    return signedText;
}

std::optional<std::string> repairedSign(std::string_view text) {
    if (!text.empty() && text.front() == '-')
        return std::nullopt;
    std::string out = "-";
    for (char c : text)
        if (c != '-')
            out += c;
    return out;
}

int32_t fieldInt(std::string_view text) {
    return common::parseLeadingInt(text).value_or(0);
}

double fieldDecimal(std::string_view text) {
    return common::parseLeadingDouble(text).value_or(0.0);
}

bool numberFits(FieldKind kind, std::string_view text) {
    if (isDecimal(kind)) {
        const std::optional<double> v = common::parseLeadingDouble(text);
        return !v || std::isfinite(*v);
    }
    bool saturated = false;
    common::parseLeadingInt(text, &saturated);
    return !saturated;
}

std::string intText(int32_t value) {
    return common::cformat("%d", value);
}

std::string decimalText(double value) {
    return common::cformat("%1.2f", value);
}

int32_t startOnRelease(int32_t start, int32_t end) {
    return start != 0 && start > end ? end : start;
}

int32_t startOnExit(int32_t start, int32_t lastPoint) {
    return start > lastPoint || start < 0 ? 0 : start;
}

int32_t endOnExit(int32_t end, int32_t start, int32_t lastPoint) {
    return std::max(std::min(end, lastPoint), start);
}

int32_t pointWithin(int32_t point, int32_t lastPoint) {
    return std::max(0, std::min(point, lastPoint));
}

} // namespace plotwell::platform
