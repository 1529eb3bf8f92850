#include "export/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
        EXPECT_EQ(formatAmount(c.value), c.amount) << c.value;
        EXPECT_EQ(formatRate(c.value), c.rate) << c.value;
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
        EXPECT_EQ(formatAmount(c.value), c.amount) << c.value;
    }
    EXPECT_EQ(formatAmount(999999999999.99).size(), 15u);
    EXPECT_EQ(formatAmount(999999999999.996).size(), 16u);
}

} // namespace
} // namespace kalvian
