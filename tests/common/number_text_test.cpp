#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kalvian {
namespace {

TEST(FormatGeneral, ShortestFormWithFifteenDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.5, "1.5"},
        {-1.5, "-1.5"},
        {12345678901.0, "12345678901"},
        {123456789012345.0, "123456789012345"},
        {-999999999999999.0, "-999999999999999"},
        {1234567890123456.0, "1.23456789012346E15"},
        {1e15, "1E15"},
        {1e18, "1E18"},
        {1.5e20, "1.5E20"},
        {0.1, "0.1"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"},
        {1.005, "1.005"},
        {100.0, "100"},
        {0.30000000000000004, "0.3"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatGeneral(c.value), c.text) << c.value;
    }
}

} // namespace
} // namespace kalvian
