#include "cli/date_argument.h"
#include "common/date_serial.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

const CalendarDate kToday{2008, 6, 15};

TEST(DateArgument, DayAndMonthOfOneOrTwoDigitsAndYearOfTwoOrFour) {
    const struct {
        const char* text;
        CalendarDate date;
    } cases[] = {
        {"01/03/2008", {2008, 3, 1}}, {"1/3/2008", {2008, 3, 1}},   {"1/3/08", {2008, 3, 1}},
        {"31/12/99", {2099, 12, 31}}, {"29/2/2008", {2008, 2, 29}}, {"15/12/2008", {2008, 12, 15}},
    };
    for (const auto& c : cases) {
        const DateArgument read = readDateArgument(c.text, "--inicio", kToday);
        EXPECT_EQ(read.error, "") << c.text;
        EXPECT_EQ(read.date, toSerial(c.date)) << c.text;
    }
}

TEST(DateArgument, AnythingElseIsRefusedNamingTheOption) {
    const std::string hint = " (use DD/MM/AAAA; dia e mês com 1 ou 2 dígitos, ano com 2 ou 4)";
    const struct {
        const char* text;
        std::string error;
    } cases[] = {
        {"123/01/2008", "Data inválida em --fim: 123/01/2008" + hint},
        {"-5/01/2008", "Data inválida em --fim: -5/01/2008" + hint},
        {"01/01/20081", "Data inválida em --fim: 01/01/20081" + hint},
        {"01/01/2008 x 99", "Data inválida em --fim: 01/01/2008 x 99" + hint},
        {"01/01/208", "Data inválida em --fim: 01/01/208" + hint},
        {"01/01/2", "Data inválida em --fim: 01/01/2" + hint},
        {"01/001/2008", "Data inválida em --fim: 01/001/2008" + hint},
        {"/01/2008", "Data inválida em --fim: /01/2008" + hint},
        {"01//2008", "Data inválida em --fim: 01//2008" + hint},
        {"01/01/", "Data inválida em --fim: 01/01/" + hint},
        {"01/01", "Data inválida em --fim: 01/01" + hint},
        {"01/01/2008/", "Data inválida em --fim: 01/01/2008/" + hint},
        {"01.01.2008", "Data inválida em --fim: 01.01.2008" + hint},
        {"+1/01/2008", "Data inválida em --fim: +1/01/2008" + hint},
        {"01/01/2008\n", "Data inválida em --fim: 01/01/2008\n" + hint},
        {"31/02/2008", "Data inválida em --fim: 31/02/2008 (não existe no calendário)"},
        {"00/01/2008", "Data inválida em --fim: 00/01/2008 (não existe no calendário)"},
        {"1/13/2008", "Data inválida em --fim: 1/13/2008 (não existe no calendário)"},
        {"1/1/0000", "Data inválida em --fim: 1/1/0000 (não existe no calendário)"},
        {"", "Informe a data de --fim (DD/MM/AAAA)"},
    };
    for (const auto& c : cases) {
        const DateArgument read = readDateArgument(c.text, "--fim", kToday);
        EXPECT_EQ(read.error, c.error) << c.text;
        EXPECT_EQ(read.date, kBlankDate) << c.text;
    }
}

} // namespace
} // namespace kalvian
