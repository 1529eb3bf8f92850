#pragma once

#include <string>

namespace kalvian {

// Amounts and rates of the export lines. The value is first written as a decimal of 18 significant digits,
// which is then rounded at the second decimal, half away from zero (a stored 1.005 is 1.00499999999999989
// and gives 1.00; 0.125 gives 0.13). A result of zero has no sign. The decimal point is always ".".

inline constexpr int kAmountIntegerDigits = 12;
inline constexpr int kRateIntegerDigits = 2;

// Appends "000000000000.00": at least 12 integer digits, zero-filled; a negative value gets a leading "-".
// Values of 10^18 or more in magnitude are written in general notation (formatGeneral) instead.
void appendAmount(std::string& out, double value);

// Appends "00.00": at least 2 integer digits, otherwise as appendAmount.
void appendRate(std::string& out, double value);

} // namespace kalvian
