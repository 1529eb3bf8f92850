#include "exact_sum.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kalvian {

namespace {

constexpr int kLimbDigits = 9;
constexpr std::int64_t kLimbBase = 1000000000;

std::int64_t tenTo(int exponent) {
    std::int64_t value = 1;
    while (exponent-- > 0) {
        value *= 10;
    }
    return value;
}

constexpr std::size_t kUsualDigits = 12;
// The first digit read into a word lands in its lowest byte.
static_assert(std::endian::native == std::endian::little);

// The value of eight ASCII digits, first the most significant: pairs, then fours, then the eight are
// combined with a few multiplications of the whole word.
std::uint64_t eightDigits(const char* digits) {
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, digits, sizeof bytes);
    bytes -= 0x3030303030303030u;
    bytes = (bytes * 10 + (bytes >> 8)) & 0x00FF00FF00FF00FFu;
    bytes = (bytes * 100 + (bytes >> 16)) & 0x0000FFFF0000FFFFu;
    return (bytes * 10000 + (bytes >> 32)) & 0xFFFFFFFFu;
}

std::uint64_t fourDigits(const char* digits) {
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, digits, sizeof bytes);
    bytes -= 0x30303030u;
    bytes = (bytes * 10 + (bytes >> 8)) & 0x00FF00FFu;
    return (bytes * 100 + (bytes >> 16)) & 0xFFFFu;
}

} // namespace

void ExactSum::add(std::string_view amount) {
    if (amount == "NAN") {
        m_undefined = true;
        return;
    }
    const bool negative = !amount.empty() && amount.front() == '-';
    if (negative) {
        amount.remove_prefix(1);
    }
    if (amount == "INF") {
        (negative ? m_negativeInfinity : m_positiveInfinity) = true;
        return;
    }

    // Most amounts: two decimals, below 10^16, whose cents fit in 64 bits; the usual ones have twelve
    // integer digits, read eight and four at a time.
    constexpr std::size_t kShortFixed = 16 + 3;
    if (amount.size() <= kShortFixed && amount[amount.size() - 3] == '.') {
        const std::string_view whole = amount.substr(0, amount.size() - 3);
        std::int64_t cents = 0;
        if (whole.size() == kUsualDigits) {
            cents =
                static_cast<std::int64_t>(eightDigits(whole.data()) * 10000 + fourDigits(whole.data() + 8));
        } else {
            for (const char ch : whole) {
                cents = cents * 10 + (ch - '0');
            }
        }
        cents = cents * 100 + (amount[amount.size() - 2] - '0') * 10 + (amount.back() - '0');
        m_small += negative ? -cents : cents;
        return;
    }

    // The digits as one number, the point dropped, and the power of ten that turns it into cents: 0 for two
    // decimals, 6 or more for general notation (an exponent of 18 or more, at most 14 decimals). Either form
    // has at most 20 digits.
    const std::size_t exponentMark = amount.find('E');
    constexpr int kNarrowDigits = 19; // fit in 64 bits, which most amounts need no more than
    std::uint64_t narrow = 0;
    Wide digits = 0;
    int count = 0;
    int decimals = 0;
    bool afterPoint = false;
    for (const char ch : amount.substr(0, exponentMark)) {
        if (ch == '.') {
            afterPoint = true;
            continue;
        }
        if (++count <= kNarrowDigits) {
            narrow = narrow * 10 + static_cast<std::uint64_t>(ch - '0');
        } else {
            digits = (count == kNarrowDigits + 1 ? Wide(narrow) : digits) * 10 + (ch - '0');
        }
        decimals += afterPoint ? 1 : 0;
    }
    if (count <= kNarrowDigits) {
        digits = narrow;
    }
    int power = 2 - decimals;
    if (exponentMark != std::string_view::npos) {
        int exponent = 0;
        for (const char ch : amount.substr(exponentMark + 1)) {
            exponent = exponent * 10 + (ch - '0');
        }
        power += exponent;
    }
    if (negative) {
        digits = -digits;
    }
    if (power == 0) {
        m_small += digits;
    } else {
        addScaled(digits, power);
    }
}

void ExactSum::addScaled(Wide digits, int powerOfTen) {
    std::size_t limb = static_cast<std::size_t>(powerOfTen / kLimbDigits);
    Wide value = digits * tenTo(powerOfTen % kLimbDigits);
    for (; value != 0; value /= kLimbBase, ++limb) {
        if (m_limbs.size() <= limb) {
            m_limbs.resize(limb + 1, 0);
        }
        m_limbs[limb] += value % kLimbBase;
    }
}

void ExactSum::add(const ExactSum& other) {
    m_small += other.m_small;
    if (m_limbs.size() < other.m_limbs.size()) {
        m_limbs.resize(other.m_limbs.size(), 0);
    }
    for (std::size_t i = 0; i < other.m_limbs.size(); ++i) {
        m_limbs[i] += other.m_limbs[i];
    }
    m_undefined = m_undefined || other.m_undefined;
    m_positiveInfinity = m_positiveInfinity || other.m_positiveInfinity;
    m_negativeInfinity = m_negativeInfinity || other.m_negativeInfinity;
}

std::string ExactSum::text(char decimalSeparator, char thousandsSeparator) const {
    if (m_undefined || (m_positiveInfinity && m_negativeInfinity)) {
        return "NAN";
    }
    if (m_positiveInfinity || m_negativeInfinity) {
        return m_positiveInfinity ? "INF" : "-INF";
    }

    ExactSum total = *this;
    total.m_small = 0;
    total.addScaled(m_small, 0);
    std::vector<Wide>& limbs = total.m_limbs;

    // Carry until every limb lies within ±10^9, then make them all non-negative.
    Wide carry = 0;
    for (Wide& limb : limbs) {
        limb += carry;
        carry = limb / kLimbBase;
        limb %= kLimbBase;
    }
    for (; carry != 0; carry /= kLimbBase) {
        limbs.push_back(carry % kLimbBase);
    }
    const auto top = std::find_if(limbs.rbegin(), limbs.rend(), [](Wide limb) { return limb != 0; });
    const bool negative = top != limbs.rend() && *top < 0;
    if (negative) {
        for (Wide& limb : limbs) {
            limb = -limb;
        }
    }
    for (std::size_t i = 0; i < limbs.size(); ++i) {
        if (limbs[i] < 0) {
            limbs[i] += kLimbBase;
            limbs[i + 1] -= 1; // the number is positive, so a higher limb is
        }
    }
    while (!limbs.empty() && limbs.back() == 0) {
        limbs.pop_back();
    }

    std::string digits;
    for (auto limb = limbs.rbegin(); limb != limbs.rend(); ++limb) {
        std::string part = std::to_string(static_cast<std::int64_t>(*limb));
        if (limb != limbs.rbegin()) {
            part.insert(0, static_cast<std::size_t>(kLimbDigits) - part.size(), '0');
        }
        digits += part;
    }
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), '0');
    }

    const std::size_t integerDigits = digits.size() - 2;
    std::string text = negative && !limbs.empty() ? "-" : "";
    for (std::size_t i = 0; i < integerDigits; ++i) {
        if (thousandsSeparator != 0 && i > 0 && (integerDigits - i) % 3 == 0) {
            text += thousandsSeparator;
        }
        text += digits[i];
    }
    text += decimalSeparator;
    text.append(digits, integerDigits, 2);
    return text;
}

} // namespace kalvian
