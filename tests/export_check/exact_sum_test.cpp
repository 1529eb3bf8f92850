#include "export_check/exact_sum.h"
#include "export_format/number_format.h"
#include "export_format/written_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace kalvian {
namespace {

std::string brazilian(const std::vector<std::string>& amounts) {
    ExactSum sum;
    for (const std::string& amount : amounts) {
        sum.add(amount);
    }
    return sum.text(',', '.');
}

// ---- Sums as the console prints them

TEST(ExactSum, AddsTheAmountsAsWritten) {
    const struct {
        const char* name;
        std::vector<std::string> amounts;
        const char* total;
    } cases[] = {
        {"nenhum", {}, "0,00"},
        {"centavos", {"000000000000.05"}, "0,05"},
        {"milhares", {"000001234567.89"}, "1.234.567,89"},
        {"mil-exato", {"000000001000.00"}, "1.000,00"},
        {"negativo", {"-000000001234.50"}, "-1.234,50"},
        {"soma-a-zero-sem-sinal", {"-000000000001.50", "000000000001.50"}, "0,00"},
        {"troca-de-sinal", {"000000000001.00", "-000000000003.25"}, "-2,25"},
        {"acima-de-10-a-12", {"1000000000000.00", "999999999999.99"}, "1.999.999.999.999,99"},
        // Four amounts of almost 10^18 pass 2^63 cents: 64 bits would wrap here.
        {"alem-de-64-bits",
         {"999999999999999999.99", "999999999999999999.99", "999999999999999999.99", "999999999999999999.99"},
         "3.999.999.999.999.999.999,96"},
        {"16-e-17-digitos",
         {"9999999999999999.99", "99999999999999999.99", "-000000000000.01"},
         "109.999.999.999.999.999,97"},
        {"notacao-geral", {"1E18"}, "1.000.000.000.000.000.000,00"},
        {"notacao-geral-e-centavos", {"1E18", "000000000001.50"}, "1.000.000.000.000.000.001,50"},
        {"notacao-geral-com-decimais", {"1.5E20", "-1E18"}, "149.000.000.000.000.000.000,00"},
        {"notacao-geral-negativa", {"-2.25E19", "000000000000.01"}, "-22.499.999.999.999.999.999,99"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(brazilian(c.amounts), c.total) << c.name;
    }
}

TEST(ExactSum, TheLargestAmountsKeepEveryDigit) {
    // 1.79769313486232E308 is the largest double in general notation: twice it is 3.59538626972464 × 10^308.
    const std::string twice = "359538626972464" + std::string(294, '0') + ",00";
    ExactSum sum;
    sum.add("1.79769313486232E308");
    sum.add("1.79769313486232E308");
    EXPECT_EQ(sum.text(',', 0), twice);
    sum.add("-1.79769313486232E308");
    sum.add("-1.79769313486232E308");
    sum.add("-000000000000.01");
    EXPECT_EQ(sum.text(',', 0), "-0,01");
}

TEST(ExactSum, InfiniteAndUndefinedAmounts) {
    const struct {
        const char* name;
        std::vector<std::string> amounts;
        const char* total;
    } cases[] = {
        {"infinito", {"000000000001.00", "INF"}, "INF"},
        {"menos-infinito", {"-INF", "1E300"}, "-INF"},
        {"infinitos-opostos", {"INF", "-INF"}, "NAN"},
        {"indefinido", {"NAN", "000000000001.00"}, "NAN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(brazilian(c.amounts), c.total) << c.name;
    }
}

TEST(ExactSum, SeparatorsAsAsked) {
    ExactSum sum;
    sum.add("-000001234567.89");
    EXPECT_EQ(sum.text(',', '.'), "-1.234.567,89");
    EXPECT_EQ(sum.text(',', 0), "-1234567,89");
    EXPECT_EQ(sum.text('.', 0), "-1234567.89");
}

// ---- Against long-hand decimal arithmetic

// Non-negative decimal digit strings without leading zeros ("" is zero).
std::string addDigits(const std::string& a, const std::string& b) {
    std::string out;
    int carry = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()) || carry != 0; ++i) {
        const int sum = carry + (i < a.size() ? a[a.size() - 1 - i] - '0' : 0) +
                        (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        out.insert(out.begin(), static_cast<char>('0' + sum % 10));
        carry = sum / 10;
    }
    return out;
}

bool lessDigits(const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// a - b for a >= b.
std::string subtractDigits(const std::string& a, const std::string& b) {
    std::string out = a;
    int borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::size_t at = a.size() - 1 - i;
        int digit = (a[at] - '0') - borrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        borrow = digit < 0 ? 1 : 0;
        out[at] = static_cast<char>('0' + digit + 10 * borrow);
    }
    return out.substr(std::min(out.find_first_not_of('0'), out.size()));
}

// The amount's cents as digits: the point dropped, zeros appended for an exponent.
std::string centsOf(std::string amount) {
    amount.erase(0, amount.front() == '-' ? 1 : 0);
    const std::size_t mark = amount.find('E');
    std::string mantissa = amount.substr(0, mark);
    const std::size_t point = mantissa.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
    if (point != std::string::npos) {
        mantissa.erase(point, 1);
    }
    const int zeros = 2 - decimals + (mark == std::string::npos ? 0 : std::stoi(amount.substr(mark + 1)));
    mantissa.append(static_cast<std::size_t>(zeros), '0');
    return mantissa.substr(std::min(mantissa.find_first_not_of('0'), mantissa.size()));
}

TEST(ExactSum, AgreesWithLongHandSumsOfManyAmounts) {
    std::mt19937_64 random(14);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-3, 40);
    std::bernoulli_distribution negative(0.4);
    std::bernoulli_distribution huge(0.05);
    std::uniform_int_distribution<int> hugeExponent(18, 307);
    for (int round = 0; round < 200; ++round) {
        ExactSum sum;
        std::string positive;
        std::string negativeTotal;
        for (int i = 0; i < 50; ++i) {
            const double magnitude = mantissa(random) * std::pow(10.0, huge(random) ? hugeExponent(random)
                                                                                    : exponent(random) % 19);
            const std::string amount = test::amountText(negative(random) ? -magnitude : magnitude);
            sum.add(amount);
            (amount.front() == '-' ? negativeTotal : positive) =
                addDigits(amount.front() == '-' ? negativeTotal : positive, centsOf(amount));
        }
        const bool below = lessDigits(positive, negativeTotal);
        std::string digits =
            below ? subtractDigits(negativeTotal, positive) : subtractDigits(positive, negativeTotal);
        const bool isZero = digits.empty();
        digits.insert(0, digits.size() < 3 ? 3 - digits.size() : 0, '0');
        const std::string expected = (below && !isZero ? "-" : "") + digits.substr(0, digits.size() - 2) +
                                     "," + digits.substr(digits.size() - 2);
        ASSERT_EQ(sum.text(',', 0), expected) << "rodada " << round;
    }
}

TEST(ExactSum, AddingSumsEqualsAddingTheirAmounts) {
    const std::vector<std::string> amounts = {
        "000000000010.10", "-1.5E20", "999999999999999999.99", "1E18", "-000000000000.07", "000000000003.33"};
    ExactSum all;
    ExactSum first;
    ExactSum second;
    for (std::size_t i = 0; i < amounts.size(); ++i) {
        all.add(amounts[i]);
        (i % 2 == 0 ? first : second).add(amounts[i]);
    }
    first.add(second);
    EXPECT_EQ(first.text(',', '.'), all.text(',', '.'));
    EXPECT_NE(all.text(',', '.'), "0,00");
}

} // namespace
} // namespace kalvian
