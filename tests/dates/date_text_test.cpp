#include "dates/date_text.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

const DateContext kIn2008{'/', {2008, 7, 15}, true};

struct NormalizeCase {
    const char* typed;
    DateContext context;
    const char* normalized;

    friend void PrintTo(const NormalizeCase& c, std::ostream* os) {
        *os << '"' << c.typed << "\" in " << c.context.today.year << " by " << c.context.separator;
    }
};

class NormalizeTextTest : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeTextTest, ReducesToDayMonthAndLongYear) {
    const NormalizeCase& c = GetParam();
    EXPECT_EQ(NormalizeText(c.typed, c.context), c.normalized);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NormalizeTextTest,
    ::testing::Values(NormalizeCase{"", kIn2008, "00/00/0000"}, NormalizeCase{"5", kIn2008, "05/00/0000"},
                      NormalizeCase{"123", kIn2008, "23/00/0000"},
                      NormalizeCase{"1/2/2008", kIn2008, "01/02/2008"},
                      NormalizeCase{"1 /2 /2008", kIn2008, "01/02/2008"},
                      NormalizeCase{"  /  /    ", kIn2008, "00/00/0000"},
                      NormalizeCase{"1_/2_/8___", kIn2008, "01/02/2008"},
                      NormalizeCase{"15/13/95", kIn2008, "15/13/2095"},
                      NormalizeCase{"01/02/008", kIn2008, "01/02/2008"},
                      NormalizeCase{"01/02/12345", kIn2008, "01/02/12345"},
                      NormalizeCase{"01/02/2008/17", kIn2008, "01/02/2008"},
                      NormalizeCase{"a1b.2,c/x3", kIn2008, "12/03/0000"},
                      NormalizeCase{"7/8/9", DateContext{'/', {1999, 1, 1}, true}, "07/08/1999"},
                      NormalizeCase{"7/8/9", DateContext{'/', {812, 1, 1}, true}, "07/08/8129"},
                      NormalizeCase{"1-2-8", DateContext{'-', {2008, 1, 1}, true}, "01-02-2008"},
                      NormalizeCase{"1/2/8", DateContext{'-', {2008, 1, 1}, true}, "28-00-0000"},
                      NormalizeCase{"31.12.95", DateContext{'.', {2008, 1, 1}, false}, "31.12.2095"}),
    kalvian::test::ByPrintedCase{});

struct DecodeCase {
    const char* normalized;
    CalendarDate date;

    friend void PrintTo(const DecodeCase& c, std::ostream* os) { *os << '"' << c.normalized << '"'; }
};

class DecodeTextTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTextTest, ReadsFixedPlaces) {
    const DecodeCase& c = GetParam();
    EXPECT_EQ(DecodeText(c.normalized), c.date);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecodeTextTest,
    ::testing::Values(DecodeCase{"01/02/2008", {2008, 2, 1}}, DecodeCase{"31-12-1899", {1899, 12, 31}},
                      DecodeCase{"01/02/12345", {1234, 2, 1}}, DecodeCase{" 5/ 7/ 208", {208, 7, 5}},
                      DecodeCase{"  /  /    ", {0, 0, 0}}, DecodeCase{"00/00/0000", {0, 0, 0}},
                      DecodeCase{"09/11", {0, 11, 9}}, DecodeCase{"", {0, 0, 0}}),
    kalvian::test::ByPrintedCase{});

struct BlankCase {
    const char* text;
    bool blank;

    friend void PrintTo(const BlankCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

class IsBlankTextTest : public ::testing::TestWithParam<BlankCase> {};

TEST_P(IsBlankTextTest, BlankWithoutNonZeroDigit) {
    const BlankCase& c = GetParam();
    EXPECT_EQ(IsBlankText(c.text), c.blank);
}

INSTANTIATE_TEST_SUITE_P(Texts, IsBlankTextTest,
                         ::testing::Values(BlankCase{"", true}, BlankCase{"00/00/0000", true},
                                           BlankCase{"  /  /    ", true}, BlankCase{"__/__/____", true},
                                           BlankCase{"0_/0 -000", true}, BlankCase{"00/00/0001", false},
                                           BlankCase{"9", false}, BlankCase{"abc", true}),
                         kalvian::test::ByPrintedCase{});

TEST(MonthLength, GregorianLengths) {
    const struct {
        int month;
        int year;
        int length;
    } cases[] = {{1, 2008, 31}, {2, 2008, 29}, {2, 2007, 28}, {2, 1900, 28}, {2, 2000, 29},
                 {4, 2008, 30}, {6, 1, 30},    {9, 9999, 30}, {11, 8, 30},   {12, 2008, 31}};
    for (const auto& c : cases) {
        EXPECT_EQ(MonthLength(c.month, c.year), c.length) << c.month << "/" << c.year;
    }
}

struct ValidityCase {
    const char* normalized;
    bool valid;
    double serial;

    friend void PrintTo(const ValidityCase& c, std::ostream* os) { *os << '"' << c.normalized << '"'; }
};

class ValidTextTest : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(ValidTextTest, ValidityAndSerial) {
    const ValidityCase& c = GetParam();
    EXPECT_EQ(IsValidText(c.normalized), c.valid);
    EXPECT_EQ(TextToDate(c.normalized), c.serial);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ValidTextTest,
    ::testing::Values(
        ValidityCase{"01/02/2008", true, 39479.0}, ValidityCase{"29/02/2008", true, 39507.0},
        ValidityCase{"29/02/2000", true, 36585.0}, ValidityCase{"31/02/2008", false, kBlankDate},
        ValidityCase{"29/02/1900", false, kBlankDate}, ValidityCase{"31/04/2008", false, kBlankDate},
        ValidityCase{"15/13/2008", false, kBlankDate}, ValidityCase{"00/02/2008", false, kBlankDate},
        ValidityCase{"01/00/2008", false, kBlankDate}, ValidityCase{"01/02/0000", false, kBlankDate},
        ValidityCase{"00/00/0000", false, kBlankDate}, ValidityCase{"05/00/0000", false, kBlankDate},
        ValidityCase{"01/01/0001", true, -693593.0}, ValidityCase{"31/12/9999", true, 2958465.0},
        ValidityCase{"01/02/12345", true, toSerial({1234, 2, 1})}, ValidityCase{"30-12-1899", true, 0.0}),
    kalvian::test::ByPrintedCase{});

struct CompleteCase {
    const char* normalized;
    DateContext context;
    const char* completed;

    friend void PrintTo(const CompleteCase& c, std::ostream* os) {
        const CalendarDate& today = c.context.today;
        *os << '"' << c.normalized << "\" on " << today.day << '.' << today.month << '.' << today.year
            << (c.context.century ? "" : " short");
    }
};

class CompleteTextTest : public ::testing::TestWithParam<CompleteCase> {};

TEST_P(CompleteTextTest, FillsFromTodayAndClamps) {
    const CompleteCase& c = GetParam();
    EXPECT_EQ(CompleteText(c.normalized, c.context), c.completed);
}

const DateContext kOn31Jan2008{'/', {2008, 1, 31}, true};
const DateContext kOn30Sep2011{'/', {2011, 9, 30}, true};

INSTANTIATE_TEST_SUITE_P(
    Texts, CompleteTextTest,
    ::testing::Values(
        CompleteCase{"31/02/2008", kIn2008, "29/02/2008"}, CompleteCase{"31/04/2008", kIn2008, "30/04/2008"},
        CompleteCase{"29/02/1900", kIn2008, "28/02/1900"}, CompleteCase{"29/02/2000", kIn2008, "29/02/2000"},
        CompleteCase{"15/13/2008", kIn2008, "15/12/2008"},
        CompleteCase{"00/02/2008", kOn31Jan2008, "29/02/2008"},
        CompleteCase{"00/02/2008", kOn30Sep2011, "29/02/2008"},
        CompleteCase{"01/02/0000", kIn2008, "01/02/2008"}, CompleteCase{"15/00/0000", kIn2008, "15/07/2008"},
        CompleteCase{"05/00/0000", kOn30Sep2011, "05/09/2011"},
        CompleteCase{"00/00/0000", kOn31Jan2008, "31/01/2008"},
        CompleteCase{"31/00/0000", kOn30Sep2011, "30/09/2011"},
        CompleteCase{"99/99/2008", kIn2008, "31/12/2008"}, CompleteCase{"01/02/2008", kIn2008, "01/02/2008"},
        CompleteCase{"01/02/2008", DateContext{'/', {2008, 7, 15}, false}, "01/02/08"},
        CompleteCase{"31-02-2095", DateContext{'-', {2008, 7, 15}, false}, "28-02-95"},
        CompleteCase{"01.02.12345", DateContext{'.', {2008, 7, 15}, true}, "01.02.1234"}),
    kalvian::test::ByPrintedCase{});

// The chain a field runs on what was typed: the edge cases from the design, end to end.
TEST(DateTextRules, TypedTextThroughNormalizeAndComplete) {
    const std::string five = NormalizeText("5", kIn2008);
    EXPECT_EQ(five, "05/00/0000");
    EXPECT_FALSE(IsValidText(five));
    EXPECT_EQ(CompleteText(five, kIn2008), "05/07/2008");

    EXPECT_EQ(CompleteText(NormalizeText("1/02", kIn2008), kIn2008), "01/02/2008");
    EXPECT_EQ(CompleteText(NormalizeText("15", kIn2008), kIn2008), "15/07/2008");
    EXPECT_EQ(TextToDate(NormalizeText("1/2/95", kIn2008)), toSerial({2095, 2, 1}));
    EXPECT_EQ(TextToDate(NormalizeText("1/2/8", kIn2008)), toSerial({2008, 2, 1}));
}

} // namespace
} // namespace kalvian
