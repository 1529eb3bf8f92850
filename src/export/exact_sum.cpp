#include "exact_sum.h"

#include <algorithm>

namespace kalvian {

namespace {

constexpr int kLimbDigits = 9;
constexpr std::int64_t kLimbBase = 1000000000;
constexpr std::size_t kChunkDigits = 18; // a chunk times 10^8 still fits in 128 bits
// Amounts of two decimals are below 10^18 (larger ones are in general notation): below 10^20 cents. Their
// 128-bit sum could overflow only after 10^18 of them, more lines than any file can hold.
constexpr std::size_t kSmallDigits = 20;

std::int64_t tenTo(int exponent) {
    std::int64_t value = 1;
    while (exponent-- > 0) {
        value *= 10;
    }
    return value;
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

    // The digits with the point dropped, and the power of ten that turns them into cents.
    const std::size_t exponentMark = amount.find('E');
    const std::string_view mantissa = amount.substr(0, exponentMark);
    std::string digits;
    digits.reserve(mantissa.size());
    std::copy_if(mantissa.begin(), mantissa.end(), std::back_inserter(digits),
                 [](char ch) { return ch != '.'; });
    const std::size_t point = mantissa.find('.');
    const int decimals = point == std::string_view::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
    int power = 2 - decimals;
    if (exponentMark != std::string_view::npos) {
        power += std::stoi(std::string(amount.substr(exponentMark + 1)));
    }

    const auto value = [&](std::size_t begin, std::size_t end) {
        Wide number = 0;
        for (std::size_t i = begin; i < end; ++i) {
            number = number * 10 + (digits[i] - '0');
        }
        return negative ? -number : number;
    };
    if (power == 0 && digits.size() <= kSmallDigits) {
        m_small += value(0, digits.size());
        return;
    }
    // Chunks of digits from the right, each with its own power of ten.
    for (std::size_t end = digits.size(); end > 0;) {
        const std::size_t begin = end > kChunkDigits ? end - kChunkDigits : 0;
        addScaled(value(begin, end), power + static_cast<int>(digits.size() - end));
        end = begin;
    }
}

void ExactSum::addScaled(Wide digits, int powerOfTen) {
    if (powerOfTen < 0) {
        return; // only zeros reach here: no amount has more than two decimals
    }
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
