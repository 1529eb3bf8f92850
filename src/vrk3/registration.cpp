#include "registration.h"

#include "common/ascii_digits.h"

#include <charconv>
#include <cmath>

namespace kalvian {

namespace {

// Blanks only: a tab or a line break around the number makes it no number.
std::string_view trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Digits with at most one ".", at least one digit, then an optional exponent with at least one digit.
bool isPlainNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    bool digits = false;
    for (; i < text.size() && isAsciiDigit(text[i]); ++i) {
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isAsciiDigit(text[i]); ++i) {
            digits = true;
        }
    }
    if (!digits) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && isAsciiDigit(text[i])) {
            ++i;
        }
        if (i == start) {
            return false;
        }
    }
    return i == text.size();
}

} // namespace

std::optional<double> registrationNumber(std::string_view text) {
    const std::string_view trimmed = trimSpaces(text);
    if (!isPlainNumber(trimmed)) {
        return std::nullopt;
    }
    // from_chars takes no leading "+".
    const std::string_view number = trimmed.front() == '+' ? trimmed.substr(1) : trimmed;
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace kalvian
