#include "common/date_serial.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

struct SerialCase {
    const char* name;
    CalendarDate date;
    double serial;
};

class DateSerialTest : public ::testing::TestWithParam<SerialCase> {};

TEST_P(DateSerialTest, ConvertsBothWays) {
    const SerialCase& c = GetParam();
    EXPECT_EQ(toSerial(c.date), c.serial);
    ASSERT_TRUE(fromSerial(c.serial).has_value());
    EXPECT_EQ(*fromSerial(c.serial), c.date);
}

INSTANTIATE_TEST_SUITE_P(Serials, DateSerialTest,
                         ::testing::Values(SerialCase{"dia-zero", {1899, 12, 30}, 0.0},
                                           SerialCase{"primeiro-de-1900", {1900, 1, 1}, 2.0},
                                           SerialCase{"antes-de-1899", {1899, 12, 29}, -1.0},
                                           SerialCase{"fevereiro-2008", {2008, 2, 1}, 39479.0},
                                           SerialCase{"corte", {2008, 12, 15}, 39797.0},
                                           SerialCase{"primeiro-dia", {1, 1, 1}, -693593.0},
                                           SerialCase{"ultimo-dia", {9999, 12, 31}, 2958465.0},
                                           SerialCase{"bissexto-2000", {2000, 2, 29}, 36585.0}),
                         kalvian::test::ByCaseName{});

TEST(DateSerial, BlankAndOutOfRangeSerialsHaveNoDay) {
    EXPECT_FALSE(fromSerial(kBlankDate).has_value());
    EXPECT_FALSE(fromSerial(2958466.0).has_value());
    EXPECT_FALSE(fromSerial(std::numeric_limits<double>::quiet_NaN()).has_value());
    EXPECT_FALSE(fromSerial(1e300).has_value());
}

TEST(DateSerial, TimeOfDayIsDropped) {
    EXPECT_EQ(fromSerial(39479.75), (CalendarDate{2008, 2, 1}));
    // Before day 0 the fraction counts away from zero: -1.25 is 29/12/1899 06:00.
    EXPECT_EQ(fromSerial(-1.25), (CalendarDate{1899, 12, 29}));
}

TEST(DateSerial, MonthLengthsAndLeapYears) {
    EXPECT_EQ(daysInMonth(2, 2008), 29);
    EXPECT_EQ(daysInMonth(2, 1900), 28);
    EXPECT_EQ(daysInMonth(2, 2000), 29);
    EXPECT_EQ(daysInMonth(4, 2008), 30);
    EXPECT_EQ(daysInMonth(13, 2008), 0);
    EXPECT_FALSE(isValidDate({2008, 2, 30}));
    EXPECT_FALSE(isValidDate({0, 1, 1}));
    EXPECT_TRUE(isValidDate({2008, 2, 29}));
}

} // namespace
} // namespace kalvian
