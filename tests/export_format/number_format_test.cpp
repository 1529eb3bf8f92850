#include "export_format/number_format.h"
#include "export_format/written_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <limits>
#include <random>
#include <string>

namespace kalvian {
namespace {

struct NumberCase {
    double value;
    const char* amount;
    const char* rate;
};

TEST(NumberFormat, AmountsAndRates) {
    const NumberCase cases[] = {
        {0.0, "000000000000.00", "00.00"},
        {1.5, "000000000001.50", "01.50"},
        {5.0, "000000000005.00", "05.00"},
        {2.5, "000000000002.50", "02.50"},
        {100.0, "000000000100.00", "100.00"},
        {-1.5, "-000000000001.50", "-01.50"},
        {-5.0, "-000000000005.00", "-05.00"},
        // The 18-digit form of a stored 1.005 is 1.00499999999999989: rounds down.
        {1.005, "000000000001.00", "01.00"},
        {0.125, "000000000000.13", "00.13"},
        {-0.125, "-000000000000.13", "-00.13"},
        {0.005, "000000000000.01", "00.01"},
        {0.0049, "000000000000.00", "00.00"},
        {2.675, "000000000002.67", "02.67"},
        {1234.5678, "000000001234.57", "1234.57"},
        {1234567.891, "000001234567.89", "1234567.89"},
        {-9999999.994, "-000009999999.99", "-9999999.99"},
        // Rounding to zero drops the sign.
        {-0.001, "000000000000.00", "00.00"},
        {-0.0, "000000000000.00", "00.00"},
        {-0.004999, "000000000000.00", "00.00"},
        {-0.005, "-000000000000.01", "-00.01"},
        // 99.995 is stored as 99.9950000000000045 and rounds up; 99.985 as 99.9849999999999994 and down.
        {99.995, "000000000100.00", "100.00"},
        {99.985, "000000000099.98", "99.98"},
        {1e-300, "000000000000.00", "00.00"},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(test::amountText(c.value), c.amount) << c.value;
        EXPECT_EQ(test::rateText(c.value), c.rate) << c.value;
    }
}

TEST(NumberFormat, AmountBoundariesNearTenToTheTwelfth) {
    const struct {
        double value;
        const char* amount;
    } cases[] = {
        {999999999999.99, "999999999999.99"},
        // Stored as 999999999999.994995..., whose 18 digits round down.
        {999999999999.995, "999999999999.99"},
        {999999999999.996, "1000000000000.00"},
        {1e12, "1000000000000.00"},
        {-999999999999.996, "-1000000000000.00"},
        {123456789012345.67, "123456789012345.67"},
        {999999999999999872.0, "999999999999999872.00"},
        {1e18, "1E18"},
        {-1e18, "-1E18"},
        {1.5e20, "1.5E20"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(test::amountText(c.value), c.amount) << c.value;
    }
    EXPECT_EQ(test::amountText(999999999999.99).size(), 15u);
    EXPECT_EQ(test::amountText(999999999999.996).size(), 16u);
}

} // namespace
} // namespace kalvian

namespace kalvian {
namespace {

// An independent reading of the rule: the value's 18 significant digits as printf writes them, rounded
// half away from zero at the second decimal with long-hand decimal arithmetic.
std::string referenceAmount(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17e", std::fabs(value));
    std::string digits;
    const char* p = text;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            digits += *p;
        }
    }
    const int exponent = std::atoi(p + 1);
    // Digits up to the hundredths, then the first dropped digit decides.
    const int keep = exponent + 1 + 2;
    std::string kept = keep > 0 ? digits.substr(0, static_cast<std::size_t>(keep)) : "";
    while (static_cast<int>(kept.size()) < keep) {
        kept += '0';
    }
    const char dropped = keep >= 0 && keep < 18 ? digits[static_cast<std::size_t>(keep)] : '0';
    std::uint64_t hundredths = kept.empty() ? 0 : std::stoull(kept);
    if (dropped >= '5') {
        ++hundredths;
    }
    char out[64];
    std::snprintf(out, sizeof out, "%s%015.2f", value < 0 && hundredths != 0 ? "-" : "",
                  static_cast<double>(hundredths) / 100.0);
    // %015.2f of an exact hundredths count below 2^53 prints those digits exactly.
    return out;
}

TEST(NumberFormat, AgreesWithTheLongHandRuleOnManyValues) {
    std::mt19937_64 random(2008);
    std::uniform_int_distribution<std::int64_t> thousandths(-5'000'000'000, 5'000'000'000);
    std::uniform_int_distribution<int> scale(0, 4);
    for (int i = 0; i < 200000; ++i) {
        const double value = static_cast<double>(thousandths(random)) / std::pow(10.0, scale(random));
        ASSERT_EQ(test::amountText(value), referenceAmount(value)) << std::setprecision(17) << value;
    }
    // Values a hair either side of half a cent.
    for (double cents = 0.5; cents < 1e8; cents = cents * 3 + 0.5) {
        for (const double value :
             {std::nextafter(cents / 100, 0.0), cents / 100, std::nextafter(cents / 100, 1e9)}) {
            ASSERT_EQ(test::amountText(value), referenceAmount(value)) << std::setprecision(17) << value;
        }
    }
}

} // namespace
} // namespace kalvian
