#include "number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace kalvian {

namespace {

// Values that are not whole or not below 10^15.
std::string generalOfOther(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    // 15 significant digits, correctly rounded: d.dddddddddddddde±x
    char buffer[40];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    std::string digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            digits += *p;
        }
    }
    int exponent = 0; // value = d.ddd × 10^exponent
    std::from_chars(p + (p[1] == '+' ? 2 : 1), written.ptr, exponent);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    std::string text = value < 0 ? "-" : "";
    const int integerDigits = exponent + 1;
    if (integerDigits > 15 || integerDigits < -3) {
        text += digits[0];
        if (digits.size() > 1) {
            text += '.';
            text.append(digits, 1);
        }
        text += 'E';
        text += std::to_string(exponent);
    } else if (integerDigits <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-integerDigits), '0');
        text += digits;
    } else {
        const auto whole = static_cast<std::size_t>(integerDigits);
        if (digits.size() <= whole) {
            text += digits;
            text.append(whole - digits.size(), '0');
        } else {
            text.append(digits, 0, whole);
            text += '.';
            text.append(digits, whole);
        }
    }
    return text;
}

} // namespace

std::string formatGeneral(double value) {
    std::array<char, kGeneralTextRoom> text;
    return std::string(text.data(), writeGeneral(value, text));
}

std::size_t writeGeneral(double value, std::span<char, kGeneralTextRoom> out) {
    // Whole values below 10^15 have at most 15 digits, all of them significant: their integer digits, as
    // registrations and other codes stored as numbers are. Zero has no sign.
    constexpr double kWholeDigitsLimit = 1e15;
    if (std::fabs(value) < kWholeDigitsLimit) {
        const auto whole = static_cast<std::int64_t>(value);
        if (static_cast<double>(whole) == value) {
            return static_cast<std::size_t>(std::to_chars(out.data(), out.data() + out.size(), whole).ptr -
                                            out.data());
        }
    }
    const std::string text = generalOfOther(value);
    std::copy(text.begin(), text.end(), out.begin());
    return text.size();
}

} // namespace kalvian
