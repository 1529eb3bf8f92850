#include "number_format.h"

#include "common/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kalvian {

namespace {

constexpr int kSignificantDigits = 18;
constexpr int kDecimals = 2;

// Adds one unit to a string of decimal digits, growing it when the carry runs off the front.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

std::string formatFixed(double value, std::size_t minIntegerDigits) {
    if (!std::isfinite(value)) {
        return formatGeneral(value);
    }

    // The magnitude as d.ddddddddddddddddde±x: 18 significant digits of its exact binary value.
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, std::fabs(value));
    std::string digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            digits += *p;
        }
    }
    const int exponent = std::atoi(p + 1);
    if (exponent >= kSignificantDigits) {
        return formatGeneral(value);
    }

    // The 18 digits stand for digits × 10^(exponent - 17); express them in hundredths.
    const int hundredthsShift = exponent - (kSignificantDigits - 1) + kDecimals;
    std::string hundredths;
    if (hundredthsShift >= 0) {
        hundredths = digits + std::string(static_cast<std::size_t>(hundredthsShift), '0');
    } else {
        const int kept = static_cast<int>(digits.size()) + hundredthsShift;
        const char firstDropped = kept >= 0 ? digits[static_cast<std::size_t>(kept)] : '0';
        hundredths = kept > 0 ? digits.substr(0, static_cast<std::size_t>(kept)) : "0";
        if (firstDropped >= '5') {
            incrementDigits(hundredths);
        }
    }
    const auto firstNonZero = hundredths.find_first_not_of('0');
    hundredths.erase(0, firstNonZero == std::string::npos ? hundredths.size() : firstNonZero);

    const std::size_t needed = minIntegerDigits + kDecimals;
    if (hundredths.size() < needed) {
        hundredths.insert(0, needed - hundredths.size(), '0');
    }
    hundredths.insert(hundredths.size() - kDecimals, 1, '.');

    const bool isZero = firstNonZero == std::string::npos;
    return value < 0 && !isZero ? "-" + hundredths : hundredths;
}

} // namespace

std::string formatAmount(double value) {
    return formatFixed(value, 12);
}

std::string formatRate(double value) {
    return formatFixed(value, 2);
}

} // namespace kalvian
