#include "number_format.h"

#include "common/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kalvian {

namespace {

constexpr int kSignificantDigits = 18;
constexpr int kDecimals = 2;

// "00" to "99", so that digits are written two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Hundredths below 10^9 with the integer digits zero-filled to at least minIntegerDigits, and a "-" when
// negative: zeros are appended, then the digits written over them from the right, two at a time.
void appendHundredths(std::string& out, std::uint32_t hundredths, bool negative, int minIntegerDigits) {
    std::uint32_t whole = hundredths / 100;
    int digits = 1;
    for (std::uint32_t power = 10; power <= whole; power *= 10) {
        ++digits;
    }
    const auto integers = static_cast<std::size_t>(std::max(digits, minIntegerDigits));
    const std::size_t start = out.size();
    out.append((negative ? 1 : 0) + integers + 1 + kDecimals, '0');
    char* const text = out.data() + start;
    if (negative) {
        text[0] = '-';
    }
    char* at = text + (negative ? 1 : 0) + integers;
    *at = '.';
    std::memcpy(at + 1, &kDigitPairs[2 * (hundredths % 100)], kDecimals);
    for (; whole >= 10; whole /= 100) {
        at -= 2;
        std::memcpy(at, &kDigitPairs[2 * (whole % 100)], 2);
    }
    if (whole > 0) {
        *--at = static_cast<char>('0' + whole);
    }
}

// Most amounts are far from a rounding tie: for them, rounding the value itself at the second decimal
// gives what rounding its 18-digit form gives. False, with nothing appended, when the value is too large
// or too near a tie to be sure.
bool appendAwayFromTies(std::string& out, double value, int minIntegerDigits) {
    constexpr double kLargest = 1e7;    // hundredths stay below 1e9, where a double errs by < 2e-7
    constexpr double kTieMargin = 1e-6; // far above that error and the 18-digit form's (< 1e-8)
    const double hundredths = std::fabs(value) * 100.0;
    if (!(std::fabs(value) < kLargest)) {
        return false;
    }
    // Below 1e9 and not negative: a conversion to an integer is the floor.
    const double fraction = hundredths - static_cast<double>(static_cast<std::uint32_t>(hundredths));
    if (std::fabs(fraction - 0.5) < kTieMargin) {
        return false;
    }
    const auto rounded = static_cast<std::uint32_t>(hundredths + 0.5);
    appendHundredths(out, rounded, value < 0 && rounded != 0, minIntegerDigits);
    return true;
}

void appendFixed(std::string& out, double value, int minIntegerDigits) {
    if (!std::isfinite(value)) {
        out += formatGeneral(value);
        return;
    }
    if (appendAwayFromTies(out, value, minIntegerDigits)) {
        return;
    }

    // The magnitude as d.ddddddddddddddddde±x: 18 significant digits of its exact binary value.
    char scientific[48];
    const auto written = std::to_chars(scientific, scientific + sizeof scientific, std::fabs(value),
                                       std::chars_format::scientific, kSignificantDigits - 1);
    char digits[kSignificantDigits];
    int count = 0;
    const char* p = scientific;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            digits[count++] = *p;
        }
    }
    int exponent = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), written.ptr, exponent);
    if (exponent >= kSignificantDigits) {
        out += formatGeneral(value);
        return;
    }

    // The digits stand for digits × 10^(exponent - 17). Keep those down to the hundredths, rounding half
    // away from zero on the first dropped digit; hundredths[] holds the kept digits, most significant first.
    const int kept =
        count + exponent - (kSignificantDigits - 1) + kDecimals; // may exceed count: zeros follow
    char hundredths[kSignificantDigits + kDecimals + 2];
    int length = 0;
    for (int i = 0; i < kept; ++i) {
        hundredths[length++] = i < count ? digits[i] : '0';
    }
    if (kept >= 0 && kept < count && digits[kept] >= '5') {
        int i = length - 1;
        for (; i >= 0 && hundredths[i] == '9'; --i) {
            hundredths[i] = '0';
        }
        if (i >= 0) {
            ++hundredths[i];
        } else {
            for (int j = length; j > 0; --j) {
                hundredths[j] = hundredths[j - 1];
            }
            hundredths[0] = '1';
            ++length;
        }
    }
    int first = 0;
    while (first < length && hundredths[first] == '0') {
        ++first;
    }
    const int significant = length - first;
    const bool isZero = significant == 0;

    const int width = std::max(significant, minIntegerDigits + kDecimals);
    if (value < 0 && !isZero) {
        out += '-';
    }
    for (int i = 0; i < width; ++i) {
        if (i == width - kDecimals) {
            out += '.';
        }
        const int source = first + i - (width - significant);
        out += source >= first ? hundredths[source] : '0';
    }
}

} // namespace

void appendAmount(std::string& out, double value) {
    appendFixed(out, value, kAmountIntegerDigits);
}

void appendRate(std::string& out, double value) {
    appendFixed(out, value, kRateIntegerDigits);
}

} // namespace kalvian
