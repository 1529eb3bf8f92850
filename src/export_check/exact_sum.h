#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kalvian {

// The exact sum of amounts as the export file writes them: two decimals ("000000001234.50",
// "-000000000001.50"), general notation from 10^18 on ("1E18", "-1.5E20"), "INF", "-INF" and "NAN". The sum
// is kept in whole cents with as many digits as it needs, so neither 64 bits nor a double's rounding limits
// it. An infinite or undefined amount makes the sum so, as adding the stored numbers would.
class ExactSum {
public:
    // `amount` is in one of the forms above (the export line reader accepts no other).
    void add(std::string_view amount);
    void add(const ExactSum& other);

    // The sum with two decimals, the given decimal separator and, unless it is 0, a thousands separator:
    // "1.234.567,89" or "1234567,89". No sign on zero.
    std::string text(char decimalSeparator, char thousandsSeparator) const;

private:
    __extension__ typedef __int128 Wide;

    void addScaled(Wide digits, int powerOfTen);

    // Amounts of two decimals, in cents: each is below 10^20 (from 10^18 on they are in general notation),
    // so their 128-bit sum could overflow only after 10^18 of them, more lines than any file can hold. The
    // rest in base-10^9 limbs, least significant first, each a signed partial sum carried only when the text
    // is made.
    Wide m_small = 0;
    std::vector<Wide> m_limbs;
    bool m_undefined = false;
    bool m_positiveInfinity = false;
    bool m_negativeInfinity = false;
};

} // namespace kalvian
