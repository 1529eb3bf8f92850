#include "common/date_serial.h"
#include "dates/date_pattern.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

struct PatternCase {
    char separator;
    bool century;
    const char* pattern;

    friend void PrintTo(const PatternCase& c, std::ostream* os) { *os << c.pattern; }
};

class DatePatternTextTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(DatePatternTextTest, LaysOutDayMonthYear) {
    const PatternCase& c = GetParam();
    EXPECT_EQ(DatePattern(c.separator, c.century).text(), c.pattern);
}

INSTANTIATE_TEST_SUITE_P(Patterns, DatePatternTextTest,
                         ::testing::Values(PatternCase{'/', true, "dd/mm/yyyy"},
                                           PatternCase{'/', false, "dd/mm/yy"},
                                           PatternCase{'-', true, "dd-mm-yyyy"},
                                           PatternCase{'.', false, "dd.mm.yy"}),
                         kalvian::test::ByPrintedCase{});

struct FormatCase {
    double serial;
    char separator;
    bool century;
    const char* text;

    friend void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.serial << " as " << c.text; }
};

class DatePatternFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(DatePatternFormatTest, FormatsSerial) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(DatePattern(c.separator, c.century).format(c.serial), c.text);
}

INSTANTIATE_TEST_SUITE_P(Serials, DatePatternFormatTest,
                         ::testing::Values(FormatCase{toSerial({2008, 2, 1}), '/', true, "01/02/2008"},
                                           FormatCase{toSerial({2008, 2, 1}), '/', false, "01/02/08"},
                                           FormatCase{toSerial({2095, 12, 31}), '-', false, "31-12-95"},

                                           FormatCase{toSerial({1, 1, 1}), '/', true, "01/01/0001"},
                                           FormatCase{toSerial({999, 10, 10}), '/', true, "10/10/0999"},

                                           FormatCase{kBlankDate, '/', true, "00/00/0000"},
                                           FormatCase{kBlankDate, '/', false, "00/00/00"},

                                           FormatCase{toSerial({9999, 12, 31}) + 1, '/', true, "00/00/0000"},
                                           FormatCase{toSerial({2008, 2, 1}) + 0.75, '/', true,
                                                      "01/02/2008"}),
                         kalvian::test::ByPrintedCase{});

} // namespace
} // namespace kalvian
