#include "common/date_format.h"
#include "common/date_serial.h"
#include "common/field_value.h"
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

TEST(DateSerial, TimeOfDayIsDroppedByRoundingDown) {
    const struct {
        const char* name;
        double serial;
        CalendarDate day;
    } cases[] = {
        {"tarde-de-2008", 39479.75, {2008, 2, 1}},
        {"meio-dia-de-29-12-1899", -0.5, {1899, 12, 29}},
        {"meia-noite-de-29-12-1899", -1.0, {1899, 12, 29}},
        {"ultimo-instante-de-29-12-1899", -1e-9, {1899, 12, 29}},
        {"18h-de-28-12-1899", -1.25, {1899, 12, 28}},
        {"6h-de-30-12-1899", 0.25, {1899, 12, 30}},
        {"meio-dia-do-primeiro-dia", -693592.5, {1, 1, 1}},
        {"meio-dia-do-ultimo-dia", 2958465.5, {9999, 12, 31}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fromSerial(c.serial), c.day) << c.name;
    }
    // Noon of the blank date's day is no day either.
    EXPECT_FALSE(fromSerial(kBlankDate + 0.5).has_value());
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

// One writer of dates: a table's date read as text, and the export's dates in any separator.
TEST(FormatDate, DayMonthYearZeroFilled) {
    const struct {
        double serial;
        const char* text;
    } cases[] = {{toSerial({2008, 1, 15}), "15/01/2008"},
                 {toSerial({1, 1, 1}), "01/01/0001"},
                 {kBlankDate, "00/00/0000"},
                 {toSerial({9999, 12, 31}) + 1, "00/00/0000"}};
    for (const auto& c : cases) {
        EXPECT_EQ(valueAsText(DateSerial{c.serial}), c.text) << c.serial;
        EXPECT_EQ(formatDate(c.serial, '/'), c.text) << c.serial;
    }
    EXPECT_EQ(formatDate(toSerial({2008, 1, 15}), '.'), "15.01.2008");
}

} // namespace
} // namespace kalvian
