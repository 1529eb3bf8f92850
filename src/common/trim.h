#pragma once

#include <string_view>

namespace kalvian {

// Drops leading and trailing blanks and control characters (byte codes 32 and below).
std::string_view trimBlanks(std::string_view value);

} // namespace kalvian
