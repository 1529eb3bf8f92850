#pragma once

#include <optional>
#include <string_view>

namespace kalvian {

// The registration number as the invoice queries compare it: a plain decimal number, blanks (spaces, and
// nothing else) allowed around it, an optional sign, "." as decimal point and an optional exponent. Any
// other text, the empty one included, gives nothing: it selects no invoice at all.
std::optional<double> registrationNumber(std::string_view text);

} // namespace kalvian
